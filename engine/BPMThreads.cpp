#include "BPMThreads.h"

#include "contracts/MessageNumbers.h"

#include "platform/WindowMessages.h"

#include "tempik.h"

#include <QFile>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>

namespace engine {

uintptr_t bpmResultParameter(double bpm) {
    const double tenths = std::nearbyint(bpm * 10.0);
    if (!std::isfinite(tenths) || tenths < 0 || tenths > static_cast<double>(std::numeric_limits<int32_t>::max()))
        return 0;
    return static_cast<uintptr_t>(tenths);
}

std::string keepPrintableCharacters(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 32 && code <= 126)
            result += c;
    }
    return result;
}

QString keepPrintableCharacters(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() >= 32 && c.unicode() <= 126)
            result += c;
    }
    return result;
}

void lowerCurrentThreadPriority(int steps) {
    // On Linux the nice value of a thread id applies to that thread alone.
    const auto thread = static_cast<id_t>(::gettid());
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, thread);
    if (current == -1 && errno != 0)
        return;
    setpriority(PRIO_PROCESS, thread, std::min(current + steps, 19));
}

} // namespace engine

TBPMThread::TBPMThread() : Measure(&BeatGetBpmFromFileXAudio) {}

TBPMThread::~TBPMThread() {
    if (ThreadId() != std::thread::id() && !Finished())
        Terminate();
    WaitFor();
}

bool TBPMThread::Request(const QString& FileName) {
    return PostMessage(messages::kMeasureFile, 0, 0, QFile::encodeName(FileName).toStdString());
}

void TBPMThread::Terminate() {
    PostMessage(messages::kQuitThread);
    WaitFor();
}

int TBPMThread::Execute() {
    // A measurement decodes as fast as the processor allows; below the
    // decks' priority it only takes time their playback does not need.
    engine::lowerCurrentThreadPriority(kNicenessSteps);
    m_terminated = false;
    do {
        WaitForMessage();
        ProcessMessages();
    } while (!m_terminated);
    return 0;
}

void TBPMThread::HandleMessage(const engine::ThreadMessage& Message) {
    if (Message.code == messages::kQuitThread)
        m_terminated = true;
    else if (Message.code == messages::kMeasureFile)
        measure(Message.text);
}

void TBPMThread::measure(const std::string& fileName) {
    double progress = 0.0;
    double quality = 0.0;
    m_bpm = Measure ? Measure(fileName.c_str(), kMinBpm, kMaxBpm, &progress, &quality) : 0.0;
    m_fileName = fileName;
    platform::PostMessage(WindowHandle, messages::kBpmResult, engine::bpmResultParameter(m_bpm), 0,
                          QByteArray::fromStdString(m_fileName));
}
