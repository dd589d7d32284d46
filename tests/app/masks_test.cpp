#include <gtest/gtest.h>

#include "app/core/BatchRun.h"

namespace {

using Masks = std::vector<std::string>;

TEST(SplitMasks, SplitsAtCommasKeepingPiecesAsTyped) {
  const std::string longMask(300, 'm');
  struct Case {
    std::string text;
    Masks masks;
  } cases[] = {
      {"*.txt,,*.doc,", {"*.txt", "*.doc"}},
      {"*.txt, *.doc", {"*.txt", " *.doc"}},
      {"", {}},
      {",,,", {}},
      {"*.*", {"*.*"}},
      {",a b ,", {"a b "}},
      {longMask + ",*.x," + longMask + "z", {longMask, "*.x", longMask + "z"}},
  };
  for (const Case& c : cases) EXPECT_EQ(quillaby::TBatchRun::SplitMasks(c.text), c.masks) << c.text;
}

}  // namespace
