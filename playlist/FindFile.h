#pragma once

#include "FileMasks.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

// The folder search's error.
class EFindFileError : public std::runtime_error {
public:
    explicit EFindFileError(const std::string& message) : std::runtime_error(message) {}
};

// File attributes as the search sees them: a folder is ffDirectory, a name
// beginning with "." is ffHidden, a file its owner may not write is
// ffReadonly, anything neither a regular file nor a folder is ffSystem and
// a regular file is ffArchive.
enum TFileAttr : unsigned { ffReadonly = 1, ffHidden = 2, ffSystem = 4, ffDirectory = 16, ffArchive = 32 };

// A point in time as days since 1899-12-30 with the time of day as the
// fraction; 0 is no time at all.
using TDateTime = double;

// One entry found.
struct TSearchRec {
    std::string Name;
    int64_t Size = 0;
    unsigned Attr = 0;
    // Local time. Creation is the birth time where the file system keeps
    // one, else the time of the last status change.
    TDateTime CreationTime = 0;
    TDateTime LastWriteTime = 0;
    TDateTime LastAccessTime = 0;
};

// A file search: walks folders (and by default their subfolders) for names
// matching masks, filters the entries and reports each match through
// OnFound. It runs on the caller's thread, or with Threaded on a thread of
// its own whose events are handed to the GUI thread one at a time while
// the search waits, so handlers may touch windows.
//
// Properties and Execute belong to the GUI thread (the thread the component
// lives on); events are raised there.
class TFindFile : public QObject {
    Q_OBJECT
public:
    explicit TFindFile(QObject* parent = nullptr);
    // Asks a running search to stop and waits for it.
    ~TFindFile() override;

    // Masks separated by ";".
    std::string Filename = "*.*";
    // Folders separated by ";". Throws EFindFileError for a text with "*" or "?".
    const std::string& Location() const { return m_location; }
    void SetLocation(const std::string& location);
    // Full specifications (folder and mask); when not empty they replace
    // Location and Filename.
    std::vector<std::string> IncludeFiles;
    // Masks, with or without a folder part, that reject a match.
    std::vector<std::string> ExcludeFiles;
    bool Subfolders = true;
    unsigned Attributes = ffArchive | ffReadonly | ffHidden | ffSystem;
    bool ExactAttribute = false;
    // Inclusive bounds; 0 is no bound. A bound without time of day compares
    // dates, a bound without date compares times of day.
    TDateTime CreatedBefore = 0;
    TDateTime CreatedAfter = 0;
    TDateTime ModifiedBefore = 0;
    TDateTime ModifiedAfter = 0;
    TDateTime AccessedBefore = 0;
    TDateTime AccessedAfter = 0;
    // Bytes; 0 is no bound.
    int64_t SizeMin = 0;
    int64_t SizeMax = 0;
    // Text that a file must contain (within one block of 4096 bytes).
    std::string Containing;
    bool IgnoreCase = true;
    bool Threaded = false;
    QThread::Priority ThreadPriority() const { return m_priority; }
    // Takes effect at once on a running search.
    void SetThreadPriority(QThread::Priority priority);

    bool Busy() const { return m_busy; }
    bool Aborted() const { return m_aborted.load(); }

    // Folder has no trailing "/" unless it is the root "/".
    std::function<void(TFindFile* Sender, const std::string& Folder, const TSearchRec& FileInfo)> OnFound;
    // Before a folder (with its trailing "/") is searched; setting
    // IgnoreFolder skips its files and subfolders.
    std::function<void(TFindFile* Sender, const std::string& Folder, bool& IgnoreFolder)> OnNewFolder;
    // After every search, however it ended.
    std::function<void(TFindFile* Sender)> OnComplete;

    // Starts a search; nothing while one runs. Threaded it returns at once,
    // otherwise after OnComplete.
    void Execute();

    // Whether one entry passes the attribute, size, date, exclusion and
    // contents filters. `folder` ends with "/". Any thread.
    bool passesFilter(const std::string& folder, const TSearchRec& entry) const;

    static constexpr int kContentsBlockSize = 4096;

private:
    class Walk;
    void finishThreaded();
    // Runs `handler` on the GUI thread and waits for it; false when the
    // search was told to stop meanwhile.
    bool callOnGuiThread(const std::function<void()>& handler);

    std::string m_location;
    QThread::Priority m_priority = QThread::NormalPriority;
    bool m_busy = false;
    std::atomic<bool> m_aborted{false};
    std::atomic<bool> m_stop{false};
    std::unique_ptr<QThread> m_thread;
    std::mutex m_handOverMutex;
    std::condition_variable m_handOverDone;
};
