#include "Threads.h"

namespace engine {
namespace {

std::mutex& hookMutex() {
    static std::mutex mutex;
    return mutex;
}

ThreadErrorHook& currentHook() {
    static ThreadErrorHook hook;
    return hook;
}

void reportThreadError(TThreadBase* thread, const std::exception& error) {
    ThreadErrorHook hook;
    {
        std::lock_guard lock(hookMutex());
        hook = currentHook();
    }
    if (!hook)
        return;
    try {
        hook(thread, error);
    } catch (...) {
        // The hook runs on the failing thread; an exception from it has
        // nowhere to go.
    }
}

} // namespace

ThreadErrorHook setThreadErrorHook(ThreadErrorHook hook) {
    std::lock_guard lock(hookMutex());
    ThreadErrorHook previous = std::move(currentHook());
    currentHook() = std::move(hook);
    return previous;
}

} // namespace engine

TThreadBase::TThreadBase() = default;

TThreadBase::~TThreadBase() {
    WaitFor();
}

void TThreadBase::Suspend() {
    if (m_thread.joinable() || Finished())
        throw EThreadException("TThreadBase.Suspend failed");
    ++m_suspendCount;
    m_suspended = true;
}

void TThreadBase::Resume() {
    const int previous = m_suspendCount;
    if (m_suspendCount > 0)
        --m_suspendCount;
    m_suspended = previous > 1;
    if (m_suspendCount == 0 && !m_thread.joinable() && !Finished()) {
        m_thread = std::thread([this] { run(); });
        m_threadId = m_thread.get_id();
    }
}

void TThreadBase::WaitFor() {
    if (m_thread.joinable())
        m_thread.join();
}

bool TThreadBase::PostMessage(uint32_t Code, uintptr_t First, intptr_t Second, std::string Text) {
    {
        std::lock_guard lock(m_queueMutex);
        if (m_queueClosed)
            return false;
        m_queue.push_back(engine::ThreadMessage{Code, First, Second, std::move(Text)});
    }
    m_queueChanged.notify_one();
    return true;
}

void TThreadBase::HandleMessage(const engine::ThreadMessage&) {}

void TThreadBase::ProcessMessages() {
    for (;;) {
        engine::ThreadMessage message;
        {
            std::lock_guard lock(m_queueMutex);
            if (m_queue.empty())
                return;
            message = std::move(m_queue.front());
            m_queue.pop_front();
        }
        HandleMessage(message);
    }
}

void TThreadBase::WaitForMessage() {
    std::unique_lock lock(m_queueMutex);
    m_queueChanged.wait(lock, [this] { return !m_queue.empty(); });
}

void TThreadBase::run() {
    int result = -1;
    try {
        result = Execute();
    } catch (const std::exception& error) {
        engine::reportThreadError(this, error);
    } catch (...) {
        // Not an error of the general error class: no hook, but the thread
        // still ends with -1 instead of taking the process down.
    }
    {
        // From here on nobody takes messages any more; posting must say so
        // instead of queueing into the void.
        std::lock_guard lock(m_queueMutex);
        m_queueClosed = true;
        m_queue.clear();
    }
    m_exitCode.store(result);
}
