#include "platform/DialogFilter.h"
#include "platform/VirtualKeys.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(VirtualKeys, QtKeysMapToTheKeyHandlersCodes) {
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_Space), 32);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_PageUp), 33);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_PageDown), 34);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_Home), 36);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_Left), 37);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_Up), 38);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_Right), 39);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_Down), 40);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_Delete), 46);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_Equal), 187);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_Plus), 187);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_Minus), 189);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_0), 48);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_7), 55);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_Ampersand), 55);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_A), 65);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_W), 87);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_Z), 90);
    EXPECT_EQ(virtualKeyFromQt(Qt::Key_Shift), 0);
}

TEST(VirtualKeys, TheShiftStateIsTheExactSetOfHeldKeysAndButtons) {
    EXPECT_EQ(shiftStateFrom(Qt::AltModifier), (ShiftState{ShiftFlag::Alt}));
    EXPECT_EQ(shiftStateFrom(Qt::ControlModifier), (ShiftState{ShiftFlag::Ctrl}));
    EXPECT_EQ(shiftStateFrom(Qt::ShiftModifier | Qt::AltModifier), (ShiftState{ShiftFlag::Shift, ShiftFlag::Alt}));
    EXPECT_NE(shiftStateFrom(Qt::ShiftModifier | Qt::AltModifier), (ShiftState{ShiftFlag::Alt}));
    EXPECT_EQ(shiftStateFrom(Qt::NoModifier, Qt::LeftButton | Qt::MiddleButton),
              (ShiftState{ShiftFlag::Left, ShiftFlag::Middle}));
    EXPECT_EQ(shiftStateFrom(Qt::NoModifier, Qt::RightButton), (ShiftState{ShiftFlag::Right}));
    EXPECT_EQ(shiftStateFrom(Qt::NoModifier), ShiftState{});
}

TEST(DialogFilter, FiltersTakeTheFormQtDialogsRead) {
    EXPECT_EQ(dialogFilter(QStringLiteral("mp3 (*.mp3)|*.mp3")), QStringLiteral("mp3 (*.mp3)"));
    EXPECT_EQ(dialogFilter(QStringLiteral("Skin files (PlayerA.ini)|PlayerA.ini")),
              QStringLiteral("Skin files (PlayerA.ini)"));
    EXPECT_EQ(dialogFilter(QStringLiteral("Images|*.bmp;*.jpg|All (*.*)|*.*")),
              QStringLiteral("Images (*.bmp *.jpg);;All (*.*)"));
    EXPECT_EQ(dialogFilter(QStringLiteral("Skin files (*.ini)|*.INI")), QStringLiteral("Skin files (*.INI)"));
}
