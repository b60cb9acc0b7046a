#pragma once

#include "Threads.h"

#include <QObject>
#include <QString>

#include <functional>
#include <string>

// The background BPM worker: measures one file at a time and posts each
// result to WindowHandle (messages::kBpmResult: Round(Bpm x 10), the file name
// as payload). A measurement that cannot be made is posted with 0.
//
// Lifecycle: construct (suspended), set WindowHandle, Resume; Request files
// from the GUI thread; Terminate (or destroy) from the GUI thread, which
// waits for a measurement under way to complete.
class TBPMThread : public TThreadBase {
public:
    static constexpr double kMinBpm = 110.0;
    static constexpr double kMaxBpm = 150.0;
    // How much nicer than the rest of the program the worker runs.
    static constexpr int kNicenessSteps = 10;

    // The measurement, replaceable before Resume (tests use it); the default
    // is the tempo library's BeatGetBpmFromFileXAudio. Runs on the worker.
    using Measurement =
        std::function<double(const char* fileName, double minBpm, double maxBpm, double* progress, double* quality)>;

    TBPMThread();
    // Ends the thread if it still runs (quit, then wait) so that it never
    // outlives the members it uses.
    ~TBPMThread() override;

    // The window that receives results; set before Resume. It must outlive
    // the worker (the play list terminates the worker before it goes).
    QObject* WindowHandle = nullptr;
    Measurement Measure;

    // Posts a measurement request; false when the worker has ended. Any thread.
    bool Request(const QString& FileName);
    // Posts quit, then waits until the thread has ended (finishing a
    // measurement under way). Creating thread only.
    void Terminate();

protected:
    int Execute() override;
    void HandleMessage(const engine::ThreadMessage& Message) override;

private:
    void measure(const std::string& fileName);

    // Worker thread only.
    bool m_terminated = false;
    double m_bpm = 0.0;
    std::string m_fileName;
};

namespace engine {

// Round(bpm x 10) with ties to even, as the result message carries it; 0
// for values that are not finite or do not fit.
uintptr_t bpmResultParameter(double bpm);

// Raises the calling thread's nice value by `steps` (at most to 19), so it
// yields to the program's other threads. Failures leave it as it was.
void lowerCurrentThreadPriority(int steps);

// Keeps only the characters 32 to 126, in order.
std::string keepPrintableCharacters(const std::string& text);
QString keepPrintableCharacters(const QString& text);

} // namespace engine
