#include "engine/Threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>

using namespace std::chrono_literals;

namespace {

class EchoThread : public TThreadBase {
public:
    ~EchoThread() override { WaitFor(); }
    std::atomic<int> handled{0};
    std::atomic<int> sum{0};

protected:
    int Execute() override {
        for (;;) {
            WaitForMessage();
            ProcessMessages();
            if (m_quit)
                return 42;
        }
    }
    void HandleMessage(const engine::ThreadMessage& message) override {
        if (message.code == 18) {
            m_quit = true;
            return;
        }
        sum +=
            static_cast<int>(message.first) + static_cast<int>(message.second) + static_cast<int>(message.text.size());
        ++handled;
    }

private:
    bool m_quit = false;
};

class FailingThread : public TThreadBase {
public:
    ~FailingThread() override { WaitFor(); }

protected:
    int Execute() override { throw std::runtime_error("decoder exploded"); }
};

std::string suspendError(TThreadBase& thread) {
    try {
        thread.Suspend();
    } catch (const EThreadException& error) {
        return error.what();
    }
    return "";
}

} // namespace

TEST(ThreadBase, StartsOnlyWhenTheSuspendCountReachesZero) {
    EchoThread thread;
    EXPECT_TRUE(thread.Suspended());
    thread.Suspend();
    thread.Resume();
    EXPECT_TRUE(thread.Suspended());
    EXPECT_EQ(thread.ThreadId(), std::thread::id());
    EXPECT_FALSE(thread.Finished());

    thread.Resume();
    EXPECT_FALSE(thread.Suspended());
    EXPECT_NE(thread.ThreadId(), std::thread::id());
    EXPECT_EQ(suspendError(thread), "TThreadBase.Suspend failed");

    EXPECT_TRUE(thread.PostMessage(1, 2, 3, "four"));
    EXPECT_TRUE(thread.PostMessage(18));
    thread.WaitFor();
    EXPECT_EQ(thread.handled, 1);
    EXPECT_EQ(thread.sum, 2 + 3 + 4);
    EXPECT_EQ(thread.GetExitCode(), 42);
    EXPECT_TRUE(thread.Finished());
}

TEST(ThreadBase, ExitCodeIsStillActiveUntilTheThreadEnds) {
    EchoThread thread;
    EXPECT_EQ(thread.GetExitCode(), TThreadBase::kStillActive);
    thread.Resume();
    EXPECT_EQ(thread.GetExitCode(), TThreadBase::kStillActive);
    thread.PostMessage(18);
    thread.WaitFor();
    EXPECT_EQ(thread.GetExitCode(), 42);
}

TEST(ThreadBase, FailingExecuteCallsTheHookOnItsThreadAndEndsWithMinusOne) {
    std::atomic<TThreadBase*> failedThread{nullptr};
    std::string message;
    std::thread::id hookThread;
    auto previous = engine::setThreadErrorHook([&](TThreadBase* thread, const std::exception& error) {
        message = error.what();
        hookThread = std::this_thread::get_id();
        failedThread = thread;
    });
    {
        FailingThread thread;
        thread.Resume();
        thread.WaitFor();
        EXPECT_EQ(thread.GetExitCode(), -1);
        EXPECT_EQ(failedThread.load(), &thread);
        EXPECT_EQ(message, "decoder exploded");
        EXPECT_EQ(hookThread, thread.ThreadId());
        EXPECT_FALSE(thread.PostMessage(32769, 0, 0, "later.mp3"));
    }
    engine::setThreadErrorHook(previous);
}

TEST(ThreadBase, FailingExecuteWithoutAHookStillEnds) {
    auto previous = engine::setThreadErrorHook({});
    FailingThread thread;
    thread.Resume();
    thread.WaitFor();
    EXPECT_EQ(thread.GetExitCode(), -1);
    engine::setThreadErrorHook(previous);
}
