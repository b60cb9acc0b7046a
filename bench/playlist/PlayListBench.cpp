// Times the play list window at collection scale (100k tracks by default):
// a batch fill, the first paint, adding one track (by binary insertion, and
// the whole add with its tag read from a real file), sorting by artist, the
// first add after a column sort, and the longest event-loop stall while a
// dropped folder of 10k tagged files is searched and added.
//   playlist_bench [tracks] [folder tracks]
#include "playlist/PlayListForm.h"
#include "playlist/PlayListRules.h"
#include "support/TemporaryFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

// The machine is shared, so besides the wall-clock time each figure gives
// the processor time this thread spent, which other processes do not inflate.
double threadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

Timing timingOf(const std::function<void()>& action) {
    const double cpuStart = threadCpuMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    action();
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
            threadCpuMilliseconds() - cpuStart};
}

void report(const char* label, const Timing& timing, int runs = 1) {
    std::printf("%-38s %9.3f ms (cpu %9.3f ms)%s\n", label, timing.wallMs / runs, timing.cpuMs / runs,
                runs > 1 ? " per run" : "");
}

std::string word(QRandomGenerator& random, int length) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ ";
    std::string text;
    for (int i = 0; i < length; ++i)
        text += kLetters[random.bounded(static_cast<int>(sizeof(kLetters) - 1))];
    return text;
}

playlist::TrackCells randomTrack(QRandomGenerator& random, int number) {
    const std::string artist = word(random, 12);
    const std::string title = word(random, 18);
    const std::string path = "/home/dj/Music/" + artist + "/" + word(random, 10) + "/" + std::to_string(number % 20) +
                             " - " + title + ".mp3";
    return {playlist::pathCellOf(QString::fromStdString(path)), number % 3 == 0 ? "000.0" : "128.0", artist, title};
}

std::string tagBytes(const std::string& title, const std::string& artist) {
    auto field = [](std::string text) {
        text.resize(30, ' ');
        return text;
    };
    return "TAG" + field(title) + field(artist) + std::string(64, ' ') + '\x0c';
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int tracks = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int folderTracks = argc > 2 ? std::atoi(argv[2]) : 10000;
    test_support::TemporaryFolder folder;
    test_support::WorkingDirectory workingDirectory(folder.path());
    QRandomGenerator random(42);

    std::vector<playlist::TrackCells> rows;
    for (int i = 0; i < tracks; ++i)
        rows.push_back(randomTrack(random, i));

    TPlayListForm form;
    std::printf("play list of %d tracks\n", tracks);
    report("replaceRows (batch fill, sorted):", timingOf([&] { form.playListModel().replaceRows(rows); }));
    report("first paint (show + paint):", timingOf([&] {
               form.show();
               (void)form.grab();
           }));

    constexpr int kAdds = 2000;
    std::vector<playlist::TrackCells> added;
    for (int i = 0; i < kAdds; ++i)
        added.push_back(randomTrack(random, tracks + i));
    report("add one row (binary insertion):", timingOf([&] {
               for (playlist::TrackCells& cells : added)
                   form.playListModel().addRow(std::move(cells));
           }),
           kAdds);

    constexpr int kFileAdds = 500;
    std::vector<QString> files;
    for (int i = 0; i < kFileAdds; ++i) {
        const std::string path = folder.file("add" + std::to_string(i) + ".mp3");
        test_support::writeFile(path, std::string(2000, '\0') + tagBytes("Title " + std::to_string(i), "Artist"));
        files.push_back(QString::fromStdString(path));
    }
    report("AddTrack of a file (tag + insert):", timingOf([&] {
               for (const QString& file : files)
                   form.AddTrack(file);
           }),
           kFileAdds);
    (void)form.grab();

    form.PL->selectionModel()->select(form.PL->model()->index(5, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    report("sort by artist:", timingOf([&] { form.SortByColumn(playlist::kArtistCell); }));
    report("sort by artist, other direction:", timingOf([&] { form.SortByColumn(playlist::kArtistCell); }));
    report("first add after a column sort:",
           timingOf([&] { form.playListModel().addRow(randomTrack(random, 2 * tracks)); }));
    report("find a path ignoring case:", timingOf([&] {
               (void)form.playListModel().findPath(form.playListModel().cell(tracks / 2, playlist::kPathCell));
           }));

    // A dropped folder: 10k tagged files in 100 subfolders.
    const std::string dropped = folder.file("dropped");
    for (int i = 0; i < folderTracks; ++i) {
        const std::string sub = dropped + "/" + std::to_string(i % 100);
        std::filesystem::create_directories(sub);
        test_support::writeFile(sub + "/track " + std::to_string(i) + ".mp3",
                                std::string(1000, '\0') + tagBytes("Title " + std::to_string(i), word(random, 8)));
    }
    const int before = form.playListModel().count();
    QElapsedTimer sinceTick;
    qint64 longestStall = 0;
    QTimer ticker;
    ticker.setInterval(5);
    double lastTickCpuMs = threadCpuMilliseconds();
    double longestCpuStall = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestStall = std::max(longestStall, sinceTick.restart());
        const double now = threadCpuMilliseconds();
        longestCpuStall = std::max(longestCpuStall, now - lastTickCpuMs);
        lastTickCpuMs = now;
    });
    const Timing drop = timingOf([&] {
        ticker.start();
        sinceTick.start();
        lastTickCpuMs = threadCpuMilliseconds();
        form.DropNames({QString::fromStdString(dropped)});
        while (form.isAddingFolder())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ticker.stop();
    });
    std::printf("dropped folder of %d tracks: %.1f ms (cpu %.1f ms), %d added\n", folderTracks, drop.wallMs, drop.cpuMs,
                form.playListModel().count() - before);
    std::printf("longest event-loop stall meanwhile:    %9lld ms (cpu %9.3f ms)\n",
                static_cast<long long>(longestStall), longestCpuStall);
    return 0;
}
