#include "BPMThreads.h"

#include "EngineMessageNumbers.h"

#include "platform/WindowMessages.h"

#include "tempik.h"

#include <QFile>

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

} // namespace engine

TBPMThread::TBPMThread() : Measure(&BeatGetBpmFromFileXAudio) {}

TBPMThread::~TBPMThread() {
    if (ThreadId() != std::thread::id() && !Finished())
        Terminate();
    WaitFor();
}

bool TBPMThread::Request(const QString& FileName) {
    return PostMessage(engine::kBpmRequestMessage, 0, 0, QFile::encodeName(FileName).toStdString());
}

void TBPMThread::Terminate() {
    PostMessage(engine::kThreadQuitMessage);
    WaitFor();
}

int TBPMThread::Execute() {
    m_terminated = false;
    do {
        WaitForMessage();
        ProcessMessages();
    } while (!m_terminated);
    return 0;
}

void TBPMThread::HandleMessage(const engine::ThreadMessage& Message) {
    if (Message.code == engine::kThreadQuitMessage)
        m_terminated = true;
    else if (Message.code == engine::kBpmRequestMessage)
        measure(Message.text);
}

void TBPMThread::measure(const std::string& fileName) {
    double progress = 0.0;
    double quality = 0.0;
    m_bpm = Measure ? Measure(fileName.c_str(), kMinBpm, kMaxBpm, &progress, &quality) : 0.0;
    m_fileName = fileName;
    platform::PostMessage(WindowHandle, engine::kBpmResultMessage, engine::bpmResultParameter(m_bpm), 0,
                          QByteArray::fromStdString(m_fileName));
}
