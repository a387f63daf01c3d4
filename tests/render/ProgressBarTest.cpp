#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "render/ProgressBar.h"

namespace {

TEST(ProgressBar, RedrawsOnlyWhenThePercentageChangesAndEndsTheLineOnce) {
  std::ostringstream stream;
  {
    ProgressBar bar(stream, 200);
    bar.update(1);
    bar.update(2);
    bar.update(3);
    bar.update(100);
    bar.update(250);
    bar.finish();
  }
  const std::string text = stream.str();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 4) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
  EXPECT_EQ(text.substr(0, 48), "\r[........................................]   0%");
  EXPECT_NE(text.find("\r[####################....................]  50%"), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - 49), "\r[########################################] 100%\n");
}

TEST(ProgressBar, IsWorthItForMoreThanTenSeconds) {
  EXPECT_FALSE(worthAProgressBar(441000, 44100.0));
  EXPECT_TRUE(worthAProgressBar(441001, 44100.0));
}

}  // namespace
