#include "platform/ErrorReport.h"
#include "platform/PlacedWindow.h"

#include "support/TemporaryFolder.h"

#include <QApplication>

#include <gtest/gtest.h>

using platform::IniDocument;
using platform::PlacedWindow;
using namespace test_support;

namespace {
class TTestWindow : public PlacedWindow {
public:
    TTestWindow() : PlacedWindow("TTestWindow", QSize(200, 100)) {
        bindPlacementStore();
        move(10, 20);
    }
};

class WindowPlacementStoreTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    WorkingDirectory workingDirectory{folder.path()};
    std::string settings() const { return folder.file("asdf.ini"); }
    int pixelsPerInch() const { return platform::WindowPlacementStore::currentPixelsPerInch(nullptr); }
};
} // namespace

TEST_F(WindowPlacementStoreTest, ClosingWritesEveryPlacementKeyInOrder) {
    TTestWindow window;
    window.show();
    window.move(33, 44);
    window.close();
    IniDocument written = IniDocument::load(settings());
    EXPECT_EQ(written.keys("TTestWindow"), (std::vector<std::string>{"FormVersion", "Flags", "ShowCmd", "PixelsPerInch",
                                                                     "MinMaxPos", "NormPos", "Visible"}));
    EXPECT_EQ(written.readString("TTestWindow", "FormVersion", ""), "0");
    EXPECT_EQ(written.readString("TTestWindow", "ShowCmd", ""), "1");
    EXPECT_EQ(written.readInteger("TTestWindow", "PixelsPerInch", 0), pixelsPerInch());
    EXPECT_EQ(written.readString("TTestWindow", "NormPos", ""), "33,44,233,144");
    EXPECT_EQ(written.readString("TTestWindow", "Visible", ""), "0");
}

TEST_F(WindowPlacementStoreTest, ShowingReadsTheStoredLeftAndTopButKeepsTheWindowsSize) {
    writeFile(settings(), "[Other]\nkeep=1\n[TTestWindow]\nFormVersion=0\nPixelsPerInch=" +
                              std::to_string(pixelsPerInch()) + "\nNormPos=300,200,900,800\n");
    TTestWindow window;
    window.show();
    EXPECT_EQ(window.pos(), QPoint(300, 200));
    EXPECT_EQ(window.size(), QSize(200, 100));
    window.hide();
    window.move(5, 5);
    window.show();
    EXPECT_EQ(window.pos(), QPoint(300, 200)) << "every showing reads the section again";
}

TEST_F(WindowPlacementStoreTest, APlacementWrittenAtAnotherResolutionOrVersionOrWithLeftNotBeforeRightIsIgnored) {
    const std::string ppi = std::to_string(pixelsPerInch());
    for (const std::string& section :
         {"FormVersion=0\nPixelsPerInch=" + std::to_string(pixelsPerInch() + 24) + "\nNormPos=300,200,900,800\n",
          "FormVersion=-1\nPixelsPerInch=" + ppi + "\nNormPos=300,200,900,800\n",
          "PixelsPerInch=" + ppi + "\nNormPos=300,200,900,800\n",
          "FormVersion=0\nPixelsPerInch=" + ppi + "\nNormPos=300,200,300,800\n",
          "FormVersion=0\nPixelsPerInch=" + ppi + "\n"}) {
        writeFile(settings(), "[TTestWindow]\n" + section);
        TTestWindow window;
        window.show();
        EXPECT_EQ(window.pos(), QPoint(10, 20)) << section;
    }
}

TEST_F(WindowPlacementStoreTest, MissingNumbersInAPositionKeepTheWindowsOwnEdges) {
    writeFile(settings(),
              "[TTestWindow]\nFormVersion=0\nPixelsPerInch=" + std::to_string(pixelsPerInch()) + "\nNormPos=150\n");
    TTestWindow window;
    window.show();
    EXPECT_EQ(window.pos(), QPoint(150, 20));
}

TEST_F(WindowPlacementStoreTest, DestructionWritesOnlyWhenNothingWasWrittenSinceTheLastRead) {
    {
        TTestWindow window;
        window.show();
        window.close();
        window.move(77, 88);
        window.writePlacementAtDestruction();
    }
    EXPECT_EQ(IniDocument::load(settings()).readString("TTestWindow", "Visible", ""), "0");
    {
        TTestWindow window;
        window.show();
        window.move(77, 88);
        window.writePlacementAtDestruction();
    }
    IniDocument written = IniDocument::load(settings());
    EXPECT_EQ(written.readString("TTestWindow", "Visible", ""), "1");
    EXPECT_EQ(written.readString("TTestWindow", "NormPos", ""), "77,88,277,188");
}

TEST_F(WindowPlacementStoreTest, ExtraValuesAreWrittenAfterThePlacementAndOtherSectionsSurvive) {
    writeFile(settings(), "[Unrelated]\nanswer=42\n");
    TTestWindow window;
    int restored = -1;
    window.placementStore().onWriteValues = [](IniDocument& document) {
        document.writeString("TTestWindow", "A1", "-16");
    };
    window.placementStore().onReadValues = [&](const IniDocument& document) {
        restored = document.readInteger("TTestWindow", "A1", 0);
    };
    window.show();
    EXPECT_EQ(restored, 0);
    window.close();
    window.show();
    EXPECT_EQ(restored, -16);
    IniDocument written = IniDocument::load(settings());
    EXPECT_EQ(written.keys("TTestWindow").back(), "A1");
    EXPECT_EQ(written.readString("Unrelated", "answer", ""), "42");
}

TEST_F(WindowPlacementStoreTest, AFailedWriteIsReportedAndTheWindowStillCloses) {
    QStringList reports;
    auto previous = platform::setErrorReporter([&](const QString& text) { reports << text; });
    TTestWindow window;
    window.placementStore().setIniFileName("/nonexistent-folder-of-drovan/asdf.ini");
    window.show();
    EXPECT_TRUE(window.close());
    platform::setErrorReporter(previous);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("asdf.ini")));
}

TEST_F(WindowPlacementStoreTest, WindowsCannotBeResized) {
    TTestWindow window;
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(WindowPlacementStoreTest, ASettingsFileThatCannotBeReadIsReportedOnceAndNeverOverwritten) {
    const std::string content = "[Mine]\nsecret=42\n" + std::string(IniDocument::kMaximumFileBytes, ';');
    writeFile(settings(), content);
    QStringList reports;
    auto previous = platform::setErrorReporter([&](const QString& text) { reports << text; });
    {
        TTestWindow first;
        TTestWindow second;
        first.show();
        second.show();
        first.close();
        second.close();
    }
    platform::setErrorReporter(previous);
    EXPECT_EQ(readFile(settings()), content);
    ASSERT_EQ(reports.size(), 1) << reports.join('\n').toStdString();
    EXPECT_TRUE(reports[0].contains(QStringLiteral("Cannot read file")) &&
                reports[0].contains(QStringLiteral("asdf.ini")))
        << reports[0].toStdString();
}
