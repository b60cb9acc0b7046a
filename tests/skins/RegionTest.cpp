#include "SkinFixtures.h"

#include "skins/CoolForm.h"
#include "skins/RegionData.h"
#include "skins/RegionFromMask.h"
#include "skins/SkinError.h"

#include "support/TemporaryFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

using skins::CreateRegionFromMask;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

std::vector<QRect> rectanglesOf(const QRegion& region) {
    return {region.begin(), region.end()};
}

TEST(RegionFromMask, KeepsTheRunBetweenWhitePixels) {
    QImage mask(4, 1, QImage::Format_RGB32);
    mask.setPixel(0, 0, qRgb(255, 255, 255));
    mask.setPixel(1, 0, qRgb(255, 0, 0));
    mask.setPixel(2, 0, qRgb(255, 0, 0));
    mask.setPixel(3, 0, qRgb(255, 255, 255));
    const auto runs = skins::scanMaskRuns(mask, skins::KeyColorRange::from(kWhite, kBlack));
    ASSERT_EQ(runs.batches.size(), 1u);
    ASSERT_EQ(runs.batches[0].size(), 1u);
    EXPECT_EQ(runs.batches[0][0], QRect(QPoint(1, 0), QPoint(2, 0)));
    const auto region = CreateRegionFromMask(mask, kWhite, kBlack);
    ASSERT_TRUE(region);
    EXPECT_EQ(rectanglesOf(*region), std::vector<QRect>{QRect(1, 0, 2, 1)});
}

TEST(RegionFromMask, OneKeyPixelInTheMiddleSplitsTheRow) {
    QImage mask = skin_fixtures::solidImage(5, 2, qRgb(0, 0, 0));
    mask.setPixel(2, 1, qRgb(255, 255, 255));
    const auto runs = skins::scanMaskRuns(mask, skins::KeyColorRange::from(kWhite, kBlack));
    ASSERT_EQ(runs.batches[0].size(), 3u);
    EXPECT_EQ(runs.batches[0][0], QRect(0, 0, 5, 1));
    EXPECT_EQ(runs.batches[0][1], QRect(0, 1, 2, 1));
    EXPECT_EQ(runs.batches[0][2], QRect(3, 1, 2, 1));
    const auto region = CreateRegionFromMask(mask, kWhite, kBlack);
    EXPECT_TRUE(region->contains(QPoint(1, 1)));
    EXPECT_FALSE(region->contains(QPoint(2, 1)));
    EXPECT_TRUE(region->contains(QPoint(2, 0)));
}

TEST(RegionFromMask, ToleranceWidensTheKeyRangeButStopsAt255) {
    const auto range = skins::KeyColorRange::from(QColor(250, 250, 250), QColor(10, 10, 10));
    EXPECT_EQ(range.highRed, 255);
    EXPECT_TRUE(range.contains(qRgb(255, 255, 255)));
    EXPECT_TRUE(range.contains(qRgb(251, 252, 250)));
    EXPECT_FALSE(range.contains(qRgb(249, 255, 255)));
    // Without the stop the sum would wrap and take in dark pixels.
    EXPECT_FALSE(range.contains(qRgb(4, 4, 4)));

    QImage mask(3, 1, QImage::Format_RGB32);
    mask.setPixel(0, 0, qRgb(255, 255, 255));
    mask.setPixel(1, 0, qRgb(252, 252, 252));
    mask.setPixel(2, 0, qRgb(100, 100, 100));
    EXPECT_EQ(rectanglesOf(*CreateRegionFromMask(mask, QColor(250, 250, 250), QColor(10, 10, 10))),
              std::vector<QRect>{QRect(2, 0, 1, 1)});
}

TEST(RegionFromMask, RunsGoOutInBatchesOfTwoThousand) {
    // 2500 single-pixel runs: every other pixel of a 50 x 100 image.
    QImage mask = skin_fixtures::solidImage(100, 50, qRgb(255, 255, 255));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; x += 2)
            mask.setPixel(x, y, qRgb(0, 0, 0));
    const auto runs = skins::scanMaskRuns(mask, skins::KeyColorRange::from(kWhite, kBlack));
    ASSERT_EQ(runs.batches.size(), 2u);
    EXPECT_EQ(runs.batches[0].size(), 2000u);
    EXPECT_EQ(runs.batches[1].size(), 500u);
    const auto region = CreateRegionFromMask(mask, kWhite, kBlack);
    EXPECT_TRUE(region->contains(QPoint(0, 0)));
    EXPECT_TRUE(region->contains(QPoint(98, 49)));
    EXPECT_FALSE(region->contains(QPoint(99, 49)));
}

TEST(RegionFromMask, AllKeyIsEmptyNoKeyIsTheWholeRectangleNoMaskIsNoRegion) {
    const auto empty = CreateRegionFromMask(skin_fixtures::solidImage(8, 8, qRgb(255, 255, 255)), kWhite, kBlack);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isEmpty());
    const auto full = CreateRegionFromMask(skin_fixtures::solidImage(8, 6, qRgb(1, 2, 3)), kWhite, kBlack);
    EXPECT_EQ(*full, QRegion(0, 0, 8, 6));
    EXPECT_FALSE(CreateRegionFromMask(QImage(), kWhite, kBlack));
}

TEST(RegionData, Mask2RoundTripKeepsTheShapeAndTheLayout) {
    QRegion shape(QRect(0, 0, 10, 2));
    shape += QRect(3, 2, 4, 5);
    const QByteArray data = skins::writeRegionData(shape);
    const int count = shape.rectCount();
    ASSERT_EQ(data.size(), 4 + 32 + 16 * count);
    auto at = [&](int offset) {
        int32_t value;
        std::memcpy(&value, data.constData() + offset, 4);
        return value;
    };
    EXPECT_EQ(at(0), 32 + 16 * count);
    EXPECT_EQ(at(4), 32);
    EXPECT_EQ(at(8), 1);
    EXPECT_EQ(at(12), count);
    EXPECT_EQ(at(16), 16 * count);
    EXPECT_EQ(at(20), 0);
    EXPECT_EQ(at(28), 10); // bounding right, exclusive
    EXPECT_EQ(at(32), 7);  // bounding bottom, exclusive
    EXPECT_EQ(skins::readRegionData(data), shape);
    EXPECT_EQ(skins::writeRegionData(std::nullopt), QByteArray(4, '\0'));
    EXPECT_FALSE(skins::readRegionData(QByteArray(4, '\0')));
}

TEST(RegionData, DamagedMask2FailsWithAClearError) {
    const QByteArray good = skins::writeRegionData(QRegion(0, 0, 5, 5));
    for (qsizetype length = 0; length < good.size(); ++length) {
        if (length == 4)
            continue; // N alone with a non-zero N is caught below
        EXPECT_THROW(skins::readRegionData(good.left(length)), skins::ESkinError) << length;
    }
    QByteArray badCount = good;
    badCount[12] = 9;
    EXPECT_THROW(skins::readRegionData(badCount), skins::ESkinError);
    QByteArray hugeSize = good;
    hugeSize[3] = '\x7f';
    EXPECT_THROW(skins::readRegionData(hugeSize), skins::ESkinError);
}

TEST(CoolForm, AppliesStoredShapeAndLeavesTheWindowAloneWithoutOne) {
    QWidget form;
    form.resize(20, 10);
    auto* coolForm = new TCoolForm(&form);
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(coolForm->geometry(), QRect(0, 0, 20, 10));
    coolForm->readMask2(skins::writeRegionData(std::nullopt));
    EXPECT_TRUE(form.mask().isEmpty());
    const QRegion shape(2, 2, 5, 5);
    coolForm->readMask2(skins::writeRegionData(shape));
    EXPECT_EQ(form.mask(), shape);
    EXPECT_EQ(skins::readRegionData(coolForm->writeMask2()), shape);
    coolForm->setPicture(skin_fixtures::solidImage(20, 10, qRgb(1, 1, 1)));
    EXPECT_FALSE(coolForm->Mask());
    EXPECT_EQ(form.mask(), shape); // the window keeps its shape
}

TEST(CoolForm, ALeftPressMovesTheWindowWithThePointer) {
    QWidget form;
    form.resize(20, 10);
    form.move(100, 100);
    auto* coolForm = new TCoolForm(&form);
    auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButton button) {
        QMouseEvent event(type, QPointF(5, 5), QPointF(global), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(coolForm, &event);
    };
    send(QEvent::MouseButtonPress, {105, 105}, Qt::RightButton);
    send(QEvent::MouseMove, {125, 105}, Qt::NoButton);
    EXPECT_EQ(form.pos(), QPoint(100, 100));
    send(QEvent::MouseButtonPress, {105, 105}, Qt::LeftButton);
    send(QEvent::MouseMove, {125, 115}, Qt::NoButton);
    send(QEvent::MouseButtonRelease, {126, 115}, Qt::LeftButton);
    EXPECT_EQ(form.pos(), QPoint(121, 110));
}

TEST(CoolForm, RefusesAChildControlAsItsForm) {
    QWidget form;
    auto* child = new QWidget(&form);
    try {
        TCoolForm coolForm(child);
        FAIL() << "no error";
    } catch (const skins::ESkinError& error) {
        EXPECT_STREQ(error.what(), "Please Drop on a Form");
    }
}

TEST(MakeRegionData, ToolWritesTheShapeOfAPicture) {
    test_support::TemporaryFolder folder;
    QImage picture = skin_fixtures::solidImage(6, 3, qRgb(255, 255, 255));
    picture.setPixel(1, 1, qRgb(9, 9, 9));
    picture.setPixel(2, 1, qRgb(9, 9, 9));
    skin_fixtures::writeBmp(folder.file("splash.bmp"), picture);
    const std::string tool = std::string(DROVAN_MAKE_REGION_DATA);
    ASSERT_EQ(test_support::runCommand(tool + " " + folder.file("splash.bmp") + " " + folder.file("mask2.bin")), 0);
    QFile file(QString::fromStdString(folder.file("mask2.bin")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(skins::readRegionData(file.readAll()), QRegion(1, 1, 2, 1));
    EXPECT_NE(
        test_support::runCommand(tool + " " + folder.file("missing.bmp") + " " + folder.file("x.bin") + " 2>/dev/null"),
        0);
}

} // namespace
