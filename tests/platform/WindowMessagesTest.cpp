#include "platform/WindowMessages.h"
#include "platform/ErrorReport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

using namespace platform;

namespace {
class Recorder : public QObject, public MessageReceiver {
public:
    bool event(QEvent* event) override { return dispatchWindowMessage(event, *this) || QObject::event(event); }
    bool handleMessage(const WindowMessage& message, intptr_t& result) override {
        if (message.number == 666)
            throw std::runtime_error("handler failed");
        received.push_back(message);
        threads.push_back(QThread::currentThread());
        result = static_cast<intptr_t>(message.wParam) * 2;
        return true;
    }
    std::vector<WindowMessage> received;
    std::vector<QThread*> threads;
};

void processUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}
} // namespace

TEST(WindowMessages, MessagesPostedFromAnotherThreadArriveInOrderOnTheReceiversThread) {
    Recorder recorder;
    std::thread poster([&] {
        for (uintptr_t i = 0; i < 100; ++i)
            PostMessage(&recorder, 37798, i, static_cast<intptr_t>(-static_cast<intptr_t>(i)), QByteArray(3, 'x'));
    });
    poster.join();
    processUntil([&] { return recorder.received.size() == 100; });
    ASSERT_EQ(recorder.received.size(), 100u);
    for (uintptr_t i = 0; i < 100; ++i) {
        EXPECT_EQ(recorder.received[i].number, 37798u);
        EXPECT_EQ(recorder.received[i].wParam, i);
        EXPECT_EQ(recorder.received[i].lParam, -static_cast<intptr_t>(i));
        EXPECT_EQ(recorder.received[i].payload, QByteArray(3, 'x'));
        EXPECT_EQ(recorder.threads[i], QCoreApplication::instance()->thread());
    }
}

TEST(WindowMessages, SendMessageWaitsForTheResultFromAnyThread) {
    Recorder recorder;
    EXPECT_EQ(SendMessage(&recorder, 2048, 21), 42);
    std::atomic<intptr_t> fromWorker{0};
    std::thread worker([&] { fromWorker = SendMessage(&recorder, 2048, 50); });
    processUntil([&] { return fromWorker.load() != 0; });
    worker.join();
    EXPECT_EQ(fromWorker.load(), 100);
    ASSERT_EQ(recorder.threads.size(), 2u);
    EXPECT_EQ(recorder.threads[1], QCoreApplication::instance()->thread());
}

TEST(GeneralErrorReport, AnExceptionFromAnEventHandlerIsReportedAndTheLoopGoesOn) {
    QStringList reports;
    auto previous = setErrorReporter([&](const QString& text) { reports << text; });
    Recorder recorder;
    PostMessage(&recorder, 666);
    PostMessage(&recorder, 1, 5);
    processUntil([&] { return recorder.received.size() == 1; });
    setErrorReporter(previous);
    EXPECT_EQ(reports, QStringList{QStringLiteral("handler failed")});
    ASSERT_EQ(recorder.received.size(), 1u);
    EXPECT_EQ(recorder.received[0].wParam, 5u);
}
