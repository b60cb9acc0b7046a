#include "skins/SkinError.h"
#include "skins/SkinFolders.h"
#include "skins/SkinForm.h"

#include "platform/ApplicationFolder.h"

#include <gtest/gtest.h>

namespace {

class DefaultSkin : public testing::TestWithParam<const char*> {};

// The shipped skin goes through the real engine: every window's file and
// its images load, and every window gets a visible shape.
TEST_P(DefaultSkin, LoadsThroughTheEngine) {
    const std::string path = skins::defaultSkinFolder() + GetParam();
    if (!platform::fileExists(path))
        GTEST_SKIP() << "no default skin in the application folder";
    QWidget form;
    auto* skin = new TSkinForm(&form);
    try {
        skin->LoadSkin(path);
    } catch (const skins::ESkinError& error) {
        FAIL() << error.what();
    }
    EXPECT_GT(form.width(), 0);
    EXPECT_GT(form.height(), 0);
    EXPECT_FALSE(form.mask().isEmpty());
    EXPECT_TRUE(form.mask().intersects(QRect(QPoint(0, 0), form.size())));
    EXPECT_EQ(skin->face().size(), form.size());
}

INSTANTIATE_TEST_SUITE_P(Skins, DefaultSkin,
                         testing::Values(skins::skin_files::kPlayerA, skins::skin_files::kPlayerB,
                                         skins::skin_files::kMixer, skins::skin_files::kPlayList,
                                         skins::skin_files::kEqualizer, skins::skin_files::kAbout),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

} // namespace
