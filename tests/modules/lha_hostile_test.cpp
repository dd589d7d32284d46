// LHA names come from our own header walk, not libarchive's: hostile names
// written by a small level-2 writer must meet the same refusals, and a header
// with a wrong CRC must still be reported.
#include <gtest/gtest.h>

#include <fstream>

#include "Dialects.h"
#include "ModuleHarness.h"

using namespace modtest;

namespace {

std::uint16_t Crc16(const std::string& s) {
  std::uint16_t crc = 0;
  for (unsigned char c : s) {
    crc ^= c;
    for (int b = 0; b < 8; ++b) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
  }
  return crc;
}

std::string Le(std::uint32_t v, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

struct LhaFile {
  std::string dir;   // 0xFF between folders, ending in 0xFF; may be empty
  std::string name;
  std::string data;
};

// Level 2, stored (-lh0-); badCrc spoils the header CRC of every header.
void WriteLha(const fs::path& file, const std::vector<LhaFile>& files, bool badCrc = false) {
  std::string out;
  for (const LhaFile& f : files) {
    std::string ext;
    ext += Le(5, 2) + '\x00' + Le(0, 2);  // header CRC, filled below
    ext += Le(static_cast<std::uint32_t>(3 + f.name.size()), 2) + '\x01' + f.name;
    if (!f.dir.empty()) ext += Le(static_cast<std::uint32_t>(3 + f.dir.size()), 2) + '\x02' + f.dir;
    ext += Le(0, 2);
    std::uint32_t size = static_cast<std::uint32_t>(24 + ext.size());
    std::string h = Le(size, 2) + "-lh0-" + Le(static_cast<std::uint32_t>(f.data.size()), 4) +
                    Le(static_cast<std::uint32_t>(f.data.size()), 4) + Le(1714979290, 4) + '\x20' + '\x02' +
                    Le(Crc16(f.data), 2) + 'U' + ext;
    std::uint16_t crc = Crc16(h) ^ (badCrc ? 0x5A5A : 0);
    h[24 + 3] = static_cast<char>(crc & 0xFF);
    h[24 + 4] = static_cast<char>(crc >> 8);
    out += h + f.data;
  }
  out += '\0';
  std::ofstream(file, std::ios::binary) << out;
}

TEST(LhaNames, HostileNamesAreRefusedAndGoodOnesExtracted) {
  TempDir t;
  fs::path lzh = t.path() / "evil.lzh";
  WriteLha(lzh, {{"", "ok.txt", "ok\n"},
                 {"..\xFF", "up.txt", "up\n"},
                 {"\xFF" "tmp\xFF", "quillaby-evil-lha.txt", "abs\n"},
                 {"a\xFF..\xFF..\xFF", "x.txt", "x\n"},
                 {"sub\xFF", "\x95\x5C.txt", "hyou\n"}});
  Module m(kLha.file, kLha.prefix);
  fs::path out = t.path() / "out";
  Result r = m.Run(kLha.extract(lzh.string(), out.string() + "/", "", true, true));
  EXPECT_EQ(r.code, ARC_E_UNSAFE) << r.text;
  EXPECT_NE(r.text.find("../up.txt"), std::string::npos) << r.text;
  EXPECT_EQ(Tree(out), (std::map<std::string, std::string>{{"ok.txt", "ok\n"}, {"sub", "/"}, {"sub/表.txt", "hyou\n"}}));
  for (auto& [name, data] : Tree(t.path())) EXPECT_TRUE(name == "evil.lzh" || name.rfind("out", 0) == 0) << name;
  EXPECT_FALSE(fs::exists("/tmp/quillaby-evil-lha.txt"));
}

TEST(LhaNames, WrongHeaderCrcIsStillAnError) {
  TempDir t;
  fs::path good = t.path() / "good.lzh", bad = t.path() / "bad.lzh";
  WriteLha(good, {{"", "日本.txt", "fine\n"}});
  WriteLha(bad, {{"", "日本.txt", "fine\n"}}, true);
  Module m(kLha.file, kLha.prefix);
  Result r = m.Run(kLha.extract(good.string(), t.Slash() + "g/", "", true, true));
  EXPECT_EQ(r.code, 0) << r.text;
  EXPECT_EQ(ReadAll(t.path() / "g" / "日本.txt"), "fine\n");
  r = m.Run(kLha.extract(bad.string(), t.Slash() + "b/", "", true, true));
  EXPECT_NE(r.code, 0) << r.text;
  EXPECT_TRUE(Tree(t.path() / "b").empty());
}

}  // namespace
