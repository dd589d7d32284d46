#include "app/core/LocalTimeZone.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <string>

namespace {

std::string LocalText(time_t t) {
  struct tm tm {};
  localtime_r(&t, &tm);
  char buf[64];
  strftime(buf, sizeof buf, "%F %T %z", &tm);
  return buf;
}

TEST(LocalTimeZone, SameLocalTimesAndAUsersZoneIsKept) {
  const time_t t = 1714979290;  // 2024-05-06 07:08:10 UTC
  ::unsetenv("TZ");
  ::tzset();
  const std::string before = LocalText(t);
  quillaby::CacheLocalTimeZone();
  EXPECT_EQ(LocalText(t), before);

  ::setenv("TZ", "JST-9", 1);
  quillaby::CacheLocalTimeZone();
  EXPECT_STREQ(::getenv("TZ"), "JST-9");
  EXPECT_EQ(LocalText(t), "2024-05-06 16:08:10 +0900");
  ::unsetenv("TZ");
  ::tzset();
}

}  // namespace
