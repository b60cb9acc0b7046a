#include "GuiThreadCall.h"

#include <QCoreApplication>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace engine {
namespace {

struct PendingCall {
    enum class Stage { Waiting, Running, Finished, Withdrawn };
    std::mutex mutex;
    std::condition_variable finished;
    Stage stage = Stage::Waiting;
    bool succeeded = false;
    const std::function<void()>* function = nullptr;
};

bool runGuarded(const std::function<void()>& function) {
    try {
        function();
        return true;
    } catch (...) {
        return false;
    }
}

bool onGuiThread(const QCoreApplication* application) {
    return QThread::currentThread() == application->thread();
}

} // namespace

bool callOnGuiThread(const std::function<void()>& function, std::chrono::milliseconds timeout) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return false;
    if (onGuiThread(application))
        return runGuarded(function);

    auto call = std::make_shared<PendingCall>();
    call->function = &function;
    QMetaObject::invokeMethod(
        application,
        [call] {
            {
                std::lock_guard lock(call->mutex);
                if (call->stage == PendingCall::Stage::Withdrawn)
                    return;
                call->stage = PendingCall::Stage::Running;
            }
            const bool succeeded = runGuarded(*call->function);
            {
                std::lock_guard lock(call->mutex);
                call->succeeded = succeeded;
                call->stage = PendingCall::Stage::Finished;
            }
            call->finished.notify_all();
        },
        Qt::QueuedConnection);

    std::unique_lock lock(call->mutex);
    const auto done = [&call] { return call->stage == PendingCall::Stage::Finished; };
    if (!call->finished.wait_for(lock, timeout, done)) {
        if (call->stage == PendingCall::Stage::Waiting) {
            call->stage = PendingCall::Stage::Withdrawn;
            return false;
        }
        // The GUI thread is running it right now; it will finish.
        call->finished.wait(lock, done);
    }
    return call->succeeded;
}

bool postToGuiThread(std::function<void()> function) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return false;
    if (onGuiThread(application))
        return runGuarded(function);
    QMetaObject::invokeMethod(
        application, [function = std::move(function)] { runGuarded(function); }, Qt::QueuedConnection);
    return true;
}

} // namespace engine
