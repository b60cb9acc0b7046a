#include "contracts/MessageNumbers.h"
#include "engine/BPMThreads.h"

#include "platform/WindowMessages.h"
#include "support/EventLoop.h"
#include "support/TemporaryFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <vector>

using namespace std::chrono_literals;
using test_support::processEventsUntil;

namespace {

// The play list's side: collects the worker's results on the GUI thread.
class ResultWindow : public QObject, public platform::MessageReceiver {
public:
    struct Result {
        uint32_t number;
        uintptr_t tenths;
        QString fileName;
    };
    std::vector<Result> results;
    bool allOnGuiThread = true;

    bool handleMessage(const platform::WindowMessage& message, intptr_t&) override {
        allOnGuiThread = allOnGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        results.push_back({message.number, message.wParam, QFile::decodeName(message.payload)});
        return true;
    }

protected:
    bool event(QEvent* event) override {
        return platform::dispatchWindowMessage(event, *this) || QObject::event(event);
    }
};

} // namespace

TEST(BPMThread, FileTheEngineCannotReadYieldsAResultOfZero) {
    test_support::TemporaryFolder folder;
    test_support::writeFile(folder.file("garbage.mp3"), std::string(5000, '\x55'));
    ResultWindow window;
    TBPMThread worker;
    worker.WindowHandle = &window;
    worker.Resume();

    const QString missing = QString::fromStdString(folder.file("missing.mp3"));
    const QString garbage = QString::fromStdString(folder.file("garbage.mp3"));
    ASSERT_TRUE(worker.Request(missing));
    ASSERT_TRUE(worker.Request(garbage));
    ASSERT_TRUE(processEventsUntil([&] { return window.results.size() == 2; }, 60000));
    worker.Terminate();

    EXPECT_EQ(window.results[0].number, messages::kBpmResult);
    EXPECT_EQ(window.results[0].tenths, 0u);
    EXPECT_EQ(window.results[0].fileName, missing);
    EXPECT_EQ(window.results[1].tenths, 0u);
    EXPECT_EQ(window.results[1].fileName, garbage);
    EXPECT_TRUE(window.allOnGuiThread);
}

TEST(BPMThread, ResultIsTheTempoInTenthsRoundedHalfToEven) {
    EXPECT_EQ(engine::bpmResultParameter(127.96), 1280u);
    EXPECT_EQ(engine::bpmResultParameter(127.25), 1272u);
    EXPECT_EQ(engine::bpmResultParameter(127.75), 1278u);
    EXPECT_EQ(engine::bpmResultParameter(0.0), 0u);
    EXPECT_EQ(engine::bpmResultParameter(std::nan("")), 0u);
    EXPECT_EQ(engine::bpmResultParameter(-5.0), 0u);
    EXPECT_EQ(engine::bpmResultParameter(1e300), 0u);
}

TEST(BPMThread, MeasuresEachRequestWithTheRangeAndPostsTheRoundedResult) {
    std::mutex mutex;
    std::vector<std::string> measured;
    std::atomic<int> busy{0};
    std::atomic<bool> overlapped{false};
    std::atomic<int> workerNiceness{-100};

    ResultWindow window;
    TBPMThread worker;
    worker.WindowHandle = &window;
    worker.Measure = [&](const char* fileName, double minBpm, double maxBpm, double* progress, double* quality) {
        if (busy.fetch_add(1) != 0)
            overlapped = true;
        workerNiceness = getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
        EXPECT_EQ(minBpm, 110.0);
        EXPECT_EQ(maxBpm, 150.0);
        EXPECT_NE(progress, nullptr);
        EXPECT_NE(quality, nullptr);
        std::this_thread::sleep_for(20ms);
        {
            std::lock_guard lock(mutex);
            measured.emplace_back(fileName);
        }
        busy.fetch_sub(1);
        return 127.96;
    };
    // Requests made before the thread runs wait for it.
    const QString first = QString::fromUtf8("/music/Déjà vu.mp3");
    ASSERT_TRUE(worker.Request(first));
    worker.Resume();
    ASSERT_TRUE(worker.Request("/music/b.mp3"));
    ASSERT_TRUE(worker.Request("/music/c.mp3"));

    ASSERT_TRUE(processEventsUntil([&] { return window.results.size() == 3; }));
    worker.Terminate();
    EXPECT_FALSE(overlapped);
    // Measuring yields to playback.
    EXPECT_EQ(workerNiceness, std::min(getpriority(PRIO_PROCESS, 0) + TBPMThread::kNicenessSteps, 19));
    EXPECT_EQ(measured, (std::vector<std::string>{"/music/D\xc3\xa9j\xc3\xa0 vu.mp3", "/music/b.mp3", "/music/c.mp3"}));
    EXPECT_EQ(window.results[0].fileName, first);
    EXPECT_EQ(window.results[1].fileName, "/music/b.mp3");
    for (const auto& result : window.results)
        EXPECT_EQ(result.tenths, 1280u);
}

TEST(BPMThread, TerminatingDuringAMeasurementBlocksUntilItCompletes) {
    std::atomic<bool> started{false};
    std::atomic<bool> completed{false};
    ResultWindow window;
    TBPMThread worker;
    worker.WindowHandle = &window;
    worker.Measure = [&](const char*, double, double, double*, double*) {
        started = true;
        std::this_thread::sleep_for(300ms);
        completed = true;
        return 120.0;
    };
    worker.Resume();
    ASSERT_TRUE(worker.Request("/music/long.mp3"));
    while (!started)
        std::this_thread::sleep_for(1ms);

    worker.Terminate();
    EXPECT_TRUE(completed);
    EXPECT_TRUE(worker.Finished());
    EXPECT_EQ(worker.GetExitCode(), 0);
    // The result of the measurement under way is still delivered.
    ASSERT_TRUE(processEventsUntil([&] { return window.results.size() == 1; }));
    EXPECT_EQ(window.results[0].tenths, 1200u);
}

TEST(BPMThread, PostingToAFinishedWorkerReturnsFalseWithoutWaiting) {
    TBPMThread worker;
    worker.Measure = [](const char*, double, double, double*, double*) { return 0.0; };
    worker.Resume();
    worker.Terminate();
    ASSERT_TRUE(worker.Finished());

    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(worker.Request("/music/a.mp3"));
    EXPECT_FALSE(worker.PostMessage(messages::kQuitThread));
    // Generous: the point is that nothing waits for a thread that is gone.
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
}

TEST(BPMThread, DestroyingARunningWorkerEndsItAndDestroyingAnUnstartedOneDoesNotWait) {
    {
        TBPMThread worker;
        worker.Resume();
    }
    {
        TBPMThread never;
        never.Request("/music/a.mp3");
    }
    SUCCEED(); // a hang here fails through the test timeout
}

TEST(BPMThread, TextFilterKeepsOnlyPrintableAscii) {
    EXPECT_EQ(engine::keepPrintableCharacters(std::string("a\tb\x7f\xc3\xa9"
                                                          "c~ \x1f")),
              "abc~ ");
    EXPECT_EQ(engine::keepPrintableCharacters(std::string()), "");
    EXPECT_EQ(engine::keepPrintableCharacters(QString::fromUtf8("Bj\xc3\xb6rk\r\n - Jóga")), "Bjrk - Jga");
}
