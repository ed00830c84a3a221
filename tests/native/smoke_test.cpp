#include <gtest/gtest.h>

#include "build_config.h"

TEST(BuildConfig, HasServerSettings) {
  EXPECT_NE(fernwick::build::kServerHost[0], '\0');
  EXPECT_GT(fernwick::build::kServerPort, 0);
}
