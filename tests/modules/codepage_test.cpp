// When the program runs in CP932, the modules speak CP932 to it: the names
// they list, the names and masks they are given, the names they write on
// disk and the text of their messages. "ソ" is 0x83 0x5C in CP932: its
// second byte must never split a name.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "Dialects.h"
#include "ModuleHarness.h"
#include "platform/codepage.h"

using namespace modtest;

namespace {

class Cp932Program {
 public:
  Cp932Program() { platform::SetCodePage(platform::CodePage::Cp932); }
  ~Cp932Program() { platform::SetCodePage(platform::CodePage::Utf8); }
};

std::string Sjis(const char* utf8) { return platform::FromUtf8(utf8, platform::CodePage::Cp932); }

struct CodePageCase {
  const Dialect* d;
  const char* archive;
};

class ProgramCodePage : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(ProgramCodePage, NamesAreCp932BothWays) {
  const CodePageCase& c = GetParam();
  Module m(c.d->file, c.d->prefix);
  std::string archive = Fixture(c.archive);
  Cp932Program cp932;
  const std::string folder = Sjis("ソフト"), inner = Sjis("ソフト/ソ.txt"), top = Sjis("表.txt");
  ASSERT_EQ(folder.substr(0, 2), "\x83\x5c");

  std::set<std::string> names;
  for (const Listed& l : m.List(archive)) names.insert(l.name);
  EXPECT_EQ(names, (std::set<std::string>{top, inner}));
  std::vector<Listed> masked = m.List(archive, Sjis("ソ*"));
  ASSERT_EQ(masked.size(), 1u);
  EXPECT_EQ(masked[0].name, inner);

  TempDir t;
  // The name as the program passes it on: "\" between folders becomes "/",
  // a second byte 0x5C stays; brackets are escaped for the ZIP library only.
  Result r = m.Run(c.d->extract(archive, t.Slash(), inner, true, true));
  EXPECT_EQ(r.code, 0) << r.text;
  EXPECT_TRUE(fs::is_regular_file(t.path() / folder / Sjis("ソ.txt")));
  r = m.Run(c.d->extract(archive, t.Slash(), top, true, true));
  EXPECT_EQ(r.code, 0) << r.text;
  std::set<std::string> written;
  for (const auto& [name, contents] : Tree(t.path())) written.insert(name);
  EXPECT_EQ(written, (std::set<std::string>{folder, folder + "/" + Sjis("ソ.txt"), top}));
  // A message names the entry as the program knows it.
  r = m.Run(c.d->extract(archive, t.Slash(), top, true, false));
  EXPECT_NE(r.code, 0);
  EXPECT_NE(r.text.find(top), std::string::npos) << r.text;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ProgramCodePage,
                         ::testing::Values(CodePageCase{&kZip, "sjis-raw.zip"}, CodePageCase{&kZip, "utf8-flagged.zip"},
                                           CodePageCase{&kLha, "sjis-lh0.lzh"}, CodePageCase{&kTar, "sjis-raw.tar"},
                                           CodePageCase{&kRar, "sjis-rar4.rar"}),
                         [](const auto& info) {
                           std::string n = std::string(info.param.d->prefix) + "_" + info.param.archive;
                           for (char& ch : n)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });

TEST(ProgramCodePage, Utf8ProgramGetsUtf8Names) {
  Module m(kZip.file, kZip.prefix);
  std::set<std::string> names;
  for (const Listed& l : m.List(Fixture("sjis-raw.zip"))) names.insert(l.name);
  EXPECT_EQ(names, (std::set<std::string>{"表.txt", "ソフト/ソ.txt"}));
}

}  // namespace
