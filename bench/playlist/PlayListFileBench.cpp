// Times the stored play list at collection scale: saving it (format, write to
// a temporary file, flush to disk, rename), loading it (read, detect the
// delimiter, split into rows), and loading it into the play list window's
// model as the window does when it opens (rows put into path order with the
// locale's collation). Wall time and CPU time, best of five runs.
//   playlist_file_bench [tracks]   (default 100000)
#include "playlist/OwnPlayListFormat.h"
#include "playlist/PlayListStore.h"
#include "playlist/TrackListModel.h"
#include "playlist/TrackText.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct Timing {
    double wallSeconds = 1e9;
    double cpuSeconds = 1e9;
};

double cpuSecondsNow() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

template <typename Action> Timing bestOfFive(Action action) {
    Timing best;
    for (int run = 0; run < 5; ++run) {
        const double cpuStart = cpuSecondsNow();
        const auto start = std::chrono::steady_clock::now();
        action();
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        best.wallSeconds = std::min(best.wallSeconds, wall.count());
        best.cpuSeconds = std::min(best.cpuSeconds, cpuSecondsNow() - cpuStart);
    }
    return best;
}

// Rows shaped like a real collection: long paths, some with commas and
// non-ASCII letters, measured and unmeasured tempos.
std::vector<playlist::TrackCells> collection(int count) {
    std::vector<playlist::TrackCells> rows;
    rows.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::string artist = "Artist Name " + std::to_string(i % 2503);
        rows.push_back(
            {playlist::encodePath("/home/dj/Music/" + artist + "/Album, Vol. " + std::to_string(i % 17) + "/" +
                                  std::to_string(i % 20) + " - Track ç ü " + std::to_string(i) + ".mp3"),
             i % 3 == 0 ? "000.0" : "12" + std::to_string(i % 10) + ".5", artist,
             "A Title Of Average Length " + std::to_string(i)});
    }
    return rows;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int tracks = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::string folder =
        std::filesystem::temp_directory_path() / ("playlist_file_bench." + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/PL.ini";
    const std::vector<playlist::TrackCells> rows = collection(tracks);

    playlist::PlayListDelimiter delimiter;
    playlist::PlayListStore store(path);
    const Timing save = bestOfFive([&] { store.save(rows, delimiter); });
    size_t loadedRows = 0;
    const Timing load = bestOfFive([&] {
        playlist::PlayListDelimiter reading;
        loadedRows = playlist::PlayListStore(path).load(reading).rows.size();
    });
    playlist::TrackListModel model(playlist::TrackListModel::Order::SortedByPath);
    const Timing window = bestOfFive([&] {
        playlist::PlayListDelimiter reading;
        model.replaceRows(playlist::PlayListStore(path).load(reading).rows);
    });
    const Timing windowSave = bestOfFive([&] { store.save(model.rows(), delimiter); });
    const auto bytes = std::filesystem::file_size(path);
    std::filesystem::remove_all(folder);

    if (loadedRows != rows.size() || static_cast<size_t>(model.count()) != rows.size()) {
        std::fprintf(stderr, "loaded %zu rows of %zu\n", loadedRows, rows.size());
        return 1;
    }
    std::printf("PL.ini with %d tracks (%.1f MB)\n", tracks, static_cast<double>(bytes) / 1e6);
    std::printf("  save: %7.1f ms wall, %7.1f ms CPU\n", save.wallSeconds * 1e3, save.cpuSeconds * 1e3);
    std::printf("  load: %7.1f ms wall, %7.1f ms CPU\n", load.wallSeconds * 1e3, load.cpuSeconds * 1e3);
    std::printf("  load into the window's list: %7.1f ms wall, %7.1f ms CPU\n", window.wallSeconds * 1e3,
                window.cpuSeconds * 1e3);
    std::printf("  save from the window's list: %7.1f ms wall, %7.1f ms CPU\n", windowSave.wallSeconds * 1e3,
                windowSave.cpuSeconds * 1e3);
    return 0;
}
