#include <gtest/gtest.h>

#include "app/WindowZoom.h"

namespace {

TEST(WindowZoomTest, TheArenaTakesAtMostHalfTheScreensHeight)
{
    EXPECT_EQ(ZoomForScreen(1080, 256), 2);
    EXPECT_EQ(ZoomForScreen(1200, 256), 2);
    EXPECT_EQ(ZoomForScreen(1535, 256), 2);
    EXPECT_EQ(ZoomForScreen(1536, 256), 3);
    EXPECT_EQ(ZoomForScreen(2160, 256), 4);
    EXPECT_EQ(ZoomForScreen(1023, 256), 1);
    // Beyond the bounds: the smallest on a tiny screen, the largest on a huge one.
    EXPECT_EQ(ZoomForScreen(300, 256), 1);
    EXPECT_EQ(ZoomForScreen(0, 256), 1);
    EXPECT_EQ(ZoomForScreen(8640, 256), 4);
}

TEST(WindowZoomTest, OnlyTheKeysOneToFourChooseAZoom)
{
    EXPECT_EQ(ZoomForKey('1'), 1);
    EXPECT_EQ(ZoomForKey('4'), 4);
    for (const int key : {int('0'), int('5'), int('9'), int('g'), -1, 27}) EXPECT_EQ(ZoomForKey(key), 0) << key;
}

}  // namespace
