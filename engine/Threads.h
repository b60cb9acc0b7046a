#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

// Errors of the thread classes, and the wrapper the play list's error hook
// builds around an error that ended a worker.
class EThreadException : public std::runtime_error {
public:
    explicit EThreadException(const std::string& message) : std::runtime_error(message) {}
};

namespace engine {

// One message of a thread's queue. text carries the worker's own copy of a
// text argument (a file name), so the sender's string may go at once.
struct ThreadMessage {
    uint32_t code = 0;
    uintptr_t first = 0;
    intptr_t second = 0;
    std::string text;
};

} // namespace engine

// A thread with a message queue, created suspended. Resume starts it; its
// Execute runs on the new thread and its result becomes the exit code.
// Other threads talk to it only through PostMessage.
//
// Threads: construction, Resume, Suspend, WaitFor and destruction belong to
// the creating thread; PostMessage, GetExitCode and Finished may be called
// from any thread; ProcessMessages and WaitForMessage only from the thread
// itself (inside Execute).
//
// A derived class must end the thread in its own destructor (for example
// with WaitFor) when Execute or HandleMessage use its members: by the time
// this base's destructor runs they are gone.
class TThreadBase {
public:
    // The exit code while the thread has not ended (or not started).
    static constexpr int kStillActive = 259;

    TThreadBase();
    virtual ~TThreadBase();
    TThreadBase(const TThreadBase&) = delete;
    TThreadBase& operator=(const TThreadBase&) = delete;

    // Suspension counts as on the desktop the system was written for: the
    // thread is created with a count of 1; Resume lowers it and starts the
    // thread when it reaches 0. Suspend raises it before the start; a
    // running thread cannot be suspended and Suspend throws
    // EThreadException("TThreadBase.Suspend failed").
    virtual void Suspend();
    virtual void Resume();
    // Blocks without a time limit until the thread has ended; returns at once
    // when it was never started. Not from the thread itself.
    virtual void WaitFor();

    // The thread's exit code, kStillActive until it has ended.
    int GetExitCode() const { return m_exitCode.load(); }
    bool Finished() const { return GetExitCode() != kStillActive; }
    bool Suspended() const { return m_suspended; }
    // The identifier of the running thread (default-constructed before Resume).
    std::thread::id ThreadId() const { return m_threadId; }

    // Queues a message for the thread and returns at once. Returns false,
    // without waiting, when the thread has ended (or its Execute has
    // returned): nobody would ever take the message. A thread that was not
    // started yet accepts messages; they wait for it. Never blocks for long.
    bool PostMessage(uint32_t Code, uintptr_t First = 0, intptr_t Second = 0, std::string Text = {});

protected:
    // The thread's work; the result becomes the exit code.
    virtual int Execute() = 0;
    // One message taken from the queue; the base does nothing.
    virtual void HandleMessage(const engine::ThreadMessage& Message);

    // Hands every waiting message to HandleMessage, without blocking.
    void ProcessMessages();
    // Blocks until the queue holds at least one message.
    void WaitForMessage();

private:
    void run();

    std::thread m_thread;
    std::thread::id m_threadId;
    int m_suspendCount = 1;
    bool m_suspended = true;
    std::atomic<int> m_exitCode{kStillActive};

    std::mutex m_queueMutex;
    std::condition_variable m_queueChanged;
    std::deque<engine::ThreadMessage> m_queue;
    bool m_queueClosed = false;
};

namespace engine {

// The process-wide thread error hook: called on the failing thread with the
// thread object and the error when Execute throws; empty by default. The
// hook must be thread-safe (the play list's posts a message).
using ThreadErrorHook = std::function<void(TThreadBase* Thread, const std::exception& Error)>;
// Sets the hook and returns the previous one. Any thread.
ThreadErrorHook setThreadErrorHook(ThreadErrorHook hook);

} // namespace engine
