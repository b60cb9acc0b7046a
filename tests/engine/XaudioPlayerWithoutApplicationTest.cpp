#include "engine/XaudioPlayer.h"

#include <gtest/gtest.h>

TEST(XaudioPlayerWithoutApplication, ConstructionFailsWithoutAMessageLoop) {
    try {
        TXaudioPlayer player;
        FAIL() << "constructed without an application object";
    } catch (const EXaudioException& error) {
        EXPECT_STREQ(error.what(), "Cannot Create Hidden Window");
    }
}
