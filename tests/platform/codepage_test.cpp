#include "platform/codepage.h"

#include <gtest/gtest.h>

#include "platform/paths.h"

namespace {
using namespace platform;

class CodePageTest : public ::testing::Test {
 protected:
  void TearDown() override { SetCodePage(CodePage::Utf8); }
};

// 表 is 0x95 0x5C and ソ is 0x83 0x5C in CP932: their second byte is "\".
const std::string kHyou = "\x95\x5C";
const std::string kSo = "\x83\x5C";
// ー is 0x81 0x5B: its second byte is "[".
const std::string kBar = "\x81\x5B";

TEST_F(CodePageTest, Cp932TrailBytesAreNeverDelimitersOrBrackets) {
  SetCodePage(CodePage::Cp932);
  EXPECT_EQ(FindChar(kHyou + "a\\b", '\\'), 3u);
  EXPECT_EQ(FindChar(kHyou + kSo, '\\'), std::string::npos);
  EXPECT_EQ(FindChar(kBar + "[", '['), 2u);
  EXPECT_EQ(FindLastChar("\\" + kSo, '\\'), 0u);
  EXPECT_FALSE(LastCharIs("/out/" + kHyou, '\\'));
  EXPECT_TRUE(LastCharIs(kHyou + "\\", '\\'));
  EXPECT_EQ(ReplaceChar("a\\" + kSo + "\\", '\\', "/"), "a/" + kSo + "/");
  EXPECT_EQ(path::FileName("/d/" + kHyou + ".txt"), kHyou + ".txt");
}

TEST_F(CodePageTest, SameBytesAreSingleCharactersInUtf8) {
  SetCodePage(CodePage::Utf8);
  // 0x95 is a stray continuation byte in UTF-8: one character each.
  EXPECT_EQ(FindChar(kHyou, '\\'), 1u);
  EXPECT_TRUE(LastCharIs(kSo, '\\'));
}

TEST_F(CodePageTest, Utf8StepsOverWholeCharacters) {
  SetCodePage(CodePage::Utf8);
  const std::string s = "日本/語.txt";  // 3 + 3 + 1 + 3 + 4 bytes
  EXPECT_EQ(CharLength(s, 0), 3u);
  EXPECT_EQ(NextChar(s, 3), 6u);
  EXPECT_EQ(FindChar(s, '/'), 6u);
  EXPECT_EQ(LastCharPos("ab語"), 2u);
  // A truncated sequence counts byte by byte, never past the end.
  EXPECT_EQ(CharLength("\xE6\x97", 0), 1u);
  EXPECT_TRUE(IsLeadByte(0xE6));
  EXPECT_FALSE(IsLeadByte('a'));
}

TEST_F(CodePageTest, TrimAndLowerKeepInnerText) {
  EXPECT_EQ(TrimControl(" \t a b \r\n"), "a b");
  EXPECT_EQ(TrimControl("   "), "");
  EXPECT_EQ(LowerAscii("ARC.LZH"), "arc.lzh");
  SetCodePage(CodePage::Cp932);
  // ア is 0x83 0x41: its second byte is no "A" to lower.
  EXPECT_EQ(LowerAscii("\x83\x41Z"), "\x83\x41z");
}

TEST_F(CodePageTest, ConvertsBetweenCp932AndUtf8) {
  EXPECT_EQ(ToUtf8(kHyou + kSo, CodePage::Cp932), "表ソ");
  EXPECT_EQ(FromUtf8("表ソ", CodePage::Cp932), kHyou + kSo);
  EXPECT_TRUE(IsValidUtf8("表ソ.txt"));
  EXPECT_FALSE(IsValidUtf8(kHyou));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));  // overlong "/"
}

}  // namespace
