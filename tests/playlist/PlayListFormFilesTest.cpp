#include "playlist/PlayListForm.h"

#include "platform/ErrorReport.h"
#include "playlist/TrackText.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using playlist::TrackCells;
using test_support::readFile;
using test_support::TemporaryFolder;
using test_support::writeFile;

namespace {

// A file the tag reader takes for a track: an ID3v1 tag behind some bytes.
void writeTaggedFile(const std::string& path, const std::string& title, const std::string& artist) {
    const auto field = [](std::string text) {
        text.resize(30, '\0');
        return text;
    };
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    writeFile(path, std::string(300, '\xff') + "TAG" + field(title) + field(artist) + std::string(64, '\0') + '\x11');
}

class PlayListFormFilesTest : public ::testing::Test {
protected:
    PlayListFormFilesTest() {
        previousReporter = platform::setErrorReporter([this](const QString& text) { errors << text; });
        TPlayListForm::setStoredPlayListPath(stored);
    }
    ~PlayListFormFilesTest() override {
        form.reset();
        TPlayListForm::setStoredPlayListPath({});
        platform::setErrorReporter(previousReporter);
    }

    TPlayListForm& open() {
        form = std::make_unique<TPlayListForm>();
        form->inform = [this](const QString& text) { messages << text; };
        form->choosePlayListToLoad = [this] { return QString::fromStdString(chosen); };
        form->choosePlayListToSave = [this] { return QString::fromStdString(chosen); };
        return *form;
    }
    void press(const char* element) { form->SkinForm1MouseUpNotify(QString::fromLatin1(element), Qt::LeftButton); }

    TemporaryFolder folder;
    test_support::WorkingDirectory workingDirectory{folder.path()};
    const std::string stored = folder.file("data/drovan/PL.ini");
    std::string chosen;
    QStringList errors;
    QStringList messages;
    platform::ErrorReporter previousReporter;
    std::unique_ptr<TPlayListForm> form;
};

} // namespace

TEST_F(PlayListFormFilesTest, TheListComesBackFromTheStoredFileAndAnEmptiedListKeepsIt) {
    // Written by hand: unsorted, ";" between cells, LF line ends, files that
    // do not exist (they are found missing only when loaded into a deck).
    std::filesystem::create_directories(folder.file("data/drovan"));
    writeFile(stored, "/m/zeta.mp3;000.0;Z;Last\n/m/a*^@b ç.mp3;120.5;A;First\n");
    open();
    EXPECT_EQ(form->playListModel().rows(), (std::vector<TrackCells>{{"/m/a*^@b ç.mp3", "120.5", "A", "First"},
                                                                     {"/m/zeta.mp3", "000.0", "Z", "Last"}}));
    EXPECT_EQ(form->delimiter().character(), ';');
    writeTaggedFile(folder.file("m/new.mp3"), "Fresh", "Someone");
    form->AddTrack(QString::fromStdString(folder.file("m/new.mp3")));
    form.reset();
    const std::string saved = "/m/a*^@b ç.mp3;120.5;A;First\r\n/m/zeta.mp3;000.0;Z;Last\r\n" +
                              folder.file("m/new.mp3") + ";000.0;Someone;Fresh\r\n";
    EXPECT_EQ(readFile(stored), saved);

    open().playListModel().clear();
    form.reset();
    EXPECT_EQ(readFile(stored), saved);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(PlayListFormFilesTest, AStoredListThatCannotBeReadIsReportedOnceAndOutlivesTheWindow) {
    std::filesystem::create_directories(folder.file("data/drovan"));
    writeFile(stored, "/kept.mp3,000.0,,\r\n");
    const std::uintmax_t size = std::uintmax_t{600} * 1024 * 1024; // too large to read; sparse
    std::filesystem::resize_file(stored, size);
    writeTaggedFile(folder.file("m/new.mp3"), "Fresh", "Someone");

    open().AddTrack(QString::fromStdString(folder.file("m/new.mp3")));
    form.reset();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.front().startsWith(QStringLiteral("File cannot be opened"))) << errors.front().toStdString();
    EXPECT_EQ(std::filesystem::file_size(stored), size);
}

TEST_F(PlayListFormFilesTest, TheButtonsSaveAndLoadOwnAndM3uListsAndRefuseOthersLeavingTheList) {
    const std::string awkward = folder.file("Music/a, b/ç ü.mp3");
    const std::string plain = folder.file("Music/plain.mp3");
    writeTaggedFile(awkward, "Title One", "Artist One");
    writeTaggedFile(plain, "Title Two", "Artist Two");
    open();
    form->AddTrack(QString::fromStdString(awkward));
    form->AddTrack(QString::fromStdString(plain));
    const std::vector<TrackCells> rows = form->playListModel().rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (TrackCells{playlist::encodePath(awkward), "000.0", "Artist One", "Title One"}));

    for (const char* name : {"Lists/set.dpl", "Lists/set.m3u8"}) {
        chosen = folder.file(name);
        std::filesystem::create_directories(folder.file("Lists"));
        press("SavePlayListButton");
        form->playListModel().clear();
        press("LoadPlayListButton");
        EXPECT_EQ(form->playListModel().rows(), rows) << name;
    }
    EXPECT_NE(readFile(folder.file("Lists/set.m3u8")).find("#EXTINF:-1,Artist One - Title One\n" + awkward + "\n"),
              std::string::npos);

    // A list as another player writes it: relative paths, CR LF.
    writeFile(folder.file("Lists/other.m3u"), "#EXTM3U\r\n#EXTINF:1,x\r\n../Music/plain.mp3\r\n../Music/gone.mp3\r\n");
    chosen = folder.file("Lists/other.m3u");
    press("LoadPlayListButton");
    EXPECT_EQ(form->playListModel().rows(), std::vector<TrackCells>{rows[1]});

    for (const char* name : {"Lists/my.list.dpl", "Lists/gone.dpl"}) {
        writeFile(folder.file("Lists/my.list.dpl"), "/x.mp3,000.0,,\r\n");
        chosen = folder.file(name);
        press("LoadPlayListButton");
        EXPECT_EQ(form->playListModel().rows(), std::vector<TrackCells>{rows[1]}) << name;
    }
    EXPECT_EQ(messages, (QStringList{QStringLiteral("There is no suport for this type of play list."),
                                     QStringLiteral("This Play List file does not exist.")}));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}
