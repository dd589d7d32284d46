#include "platform/winmsg.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
using namespace platform;

TEST(WindowMessages, RegisteredNumbersAreStableAndDistinct) {
  unsigned a = RegisterWindowMessage("wm_arcextract");
  EXPECT_GE(a, 0xC000u);
  EXPECT_EQ(RegisterWindowMessage("WM_ArcExtract"), a);
  unsigned b = RegisterWindowMessage("wm_other");
  EXPECT_GE(b, 0xC000u);
  EXPECT_NE(a, b);
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST(WindowMessages, SendCallsTheProcedureSynchronously) {
  std::vector<unsigned> seen;
  HWND w = CreateHiddenWindow([&](unsigned msg, WPARAM wp, LPARAM lp) -> LRESULT {
    seen.push_back(msg);
    return static_cast<LRESULT>(wp) + lp;
  });
  ASSERT_NE(w, 0u);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_EQ(SendMessage(w, 0xC123, 2, 3), 5);
  EXPECT_EQ(seen, std::vector<unsigned>{0xC123});
  DestroyWindow(w);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(SendMessage(w, 0xC123, 2, 3), 0);
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(SendMessage(0xDEAD, 1, 1, 1), 0);
  EXPECT_EQ(DefWindowProc(w, 1, 2, 3), 0);
}

TEST(WindowMessages, AProcedureMaySendAndReleaseItsOwnWindow) {
  HWND other = CreateHiddenWindow([](unsigned, WPARAM, LPARAM) -> LRESULT { return 7; });
  HWND self = 0;
  self = CreateHiddenWindow([&](unsigned, WPARAM, LPARAM) -> LRESULT {
    LRESULT r = SendMessage(other, 1, 0, 0);
    DestroyWindow(self);
    return r;
  });
  EXPECT_EQ(SendMessage(self, 1, 0, 0), 7);
  EXPECT_FALSE(IsWindow(self));
  DestroyWindow(other);
}

}  // namespace
