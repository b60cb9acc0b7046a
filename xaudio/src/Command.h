#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace xaudio {

// One queued player command with copies of all its arguments.
struct Command {
    int code = 0;
    std::string text1;
    std::string text2;
    int integer1 = 0;
    int integer2 = 0;
    int integer3 = 0;
    int integer4 = 0;
    // Copied pointer argument; hasPointer is false for a null pointer.
    bool hasPointer = false;
    std::vector<uint8_t> data;
};

// The queue between a player's owner and its command thread. The command
// thread is not real-time, so a mutex and a condition variable serve.
class CommandQueue {
public:
    void push(Command command) {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_commands.push_back(std::move(command));
        }
        m_ready.notify_one();
    }

    // Waits up to timeout for a command.
    std::optional<Command> pop(std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_ready.wait_for(lock, timeout, [this] { return !m_commands.empty() || m_closed; }))
            return std::nullopt;
        if (m_commands.empty())
            return std::nullopt;
        Command command = std::move(m_commands.front());
        m_commands.pop_front();
        return command;
    }

    // Waits for a command as long as it takes; nullopt once closed.
    std::optional<Command> pop() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_ready.wait(lock, [this] { return !m_commands.empty() || m_closed; });
        if (m_commands.empty())
            return std::nullopt;
        Command command = std::move(m_commands.front());
        m_commands.pop_front();
        return command;
    }

    void close() {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_closed = true;
        }
        m_ready.notify_all();
    }

    bool closed() {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_closed;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<Command> m_commands;
    bool m_closed = false;
};

} // namespace xaudio
