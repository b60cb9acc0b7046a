#include "FindFile.h"

#include <QMetaObject>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <ctime>
#include <exception>
#include <set>
#include <utility>

namespace {

constexpr TDateTime kUnixEpochDays = 25569.0; // 1970-01-01 in days since 1899-12-30
constexpr double kSecondsPerDay = 86400.0;

TDateTime localDateTime(const struct statx_timestamp& stamp) {
    const time_t seconds = static_cast<time_t>(stamp.tv_sec);
    struct tm local {};
    if (localtime_r(&seconds, &local) == nullptr)
        return 0;
    const double localSeconds = static_cast<double>(stamp.tv_sec) + static_cast<double>(local.tm_gmtoff) +
                                static_cast<double>(stamp.tv_nsec) / 1e9;
    return kUnixEpochDays + localSeconds / kSecondsPerDay;
}

// Compares only what the bound holds: its date when it has no time of day,
// its time of day when it has no date, else the full value.
std::pair<double, double> comparable(TDateTime value, TDateTime bound) {
    const double boundDate = std::floor(bound);
    if (bound == boundDate)
        return {std::floor(value), bound};
    if (boundDate == 0)
        return {value - std::floor(value), bound};
    return {value, bound};
}

bool withinBounds(TDateTime value, TDateTime before, TDateTime after) {
    if (before != 0) {
        const auto [v, b] = comparable(value, before);
        if (v > b)
            return false;
    }
    if (after != 0) {
        const auto [v, b] = comparable(value, after);
        if (v < b)
            return false;
    }
    return true;
}

std::string folded(std::string text, bool ignoreCase) {
    if (ignoreCase)
        std::transform(text.begin(), text.end(), text.begin(),
                       [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    return text;
}

bool fileContains(const std::string& path, const std::string& text, bool ignoreCase) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    const std::string wanted = folded(text, ignoreCase);
    std::string block(TFindFile::kContentsBlockSize, '\0');
    bool found = false;
    while (!found) {
        const ssize_t got = ::read(file, block.data(), block.size());
        if (got <= 0)
            break;
        found = folded(block.substr(0, static_cast<size_t>(got)), ignoreCase).find(wanted) != std::string::npos;
    }
    ::close(file);
    return found;
}

struct Entry {
    TSearchRec record;
    dev_t device = 0;
    ino_t inode = 0;
};

bool readEntry(const std::string& folder, const std::string& name, Entry& entry) {
    struct statx status {};
    if (statx(AT_FDCWD, (folder + name).c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &status) != 0)
        return false;
    TSearchRec& record = entry.record;
    record.Name = name;
    record.Size = static_cast<int64_t>(status.stx_size);
    const mode_t mode = status.stx_mode;
    record.Attr = 0;
    if (S_ISDIR(mode))
        record.Attr |= ffDirectory;
    else if (S_ISREG(mode))
        record.Attr |= ffArchive;
    else
        record.Attr |= ffSystem;
    if (!name.empty() && name.front() == '.')
        record.Attr |= ffHidden;
    if ((mode & S_IWUSR) == 0)
        record.Attr |= ffReadonly;
    record.CreationTime = localDateTime((status.stx_mask & STATX_BTIME) != 0 ? status.stx_btime : status.stx_ctime);
    record.LastWriteTime = localDateTime(status.stx_mtime);
    record.LastAccessTime = localDateTime(status.stx_atime);
    entry.device = makedev(status.stx_dev_major, status.stx_dev_minor);
    entry.inode = static_cast<ino_t>(status.stx_ino);
    return true;
}

std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr)
        return names;
    while (const dirent* item = ::readdir(listing)) {
        const std::string name(item->d_name);
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(listing);
    // Listings come in no particular order; a sorted walk reports the same
    // folder the same way every time.
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// One search over the search list. Runs on the search thread or the GUI
// thread; raises events through the component.
class TFindFile::Walk {
public:
    Walk(TFindFile& owner, bool threaded) : m_owner(owner), m_threaded(threaded) {}

    void run(const std::vector<playlist::SearchSpec>& list) {
        try {
            for (const playlist::SearchSpec& spec : list) {
                if (stopped())
                    break;
                m_visited.clear();
                Entry root;
                if (readEntry({}, spec.folder, root))
                    m_visited.insert({root.device, root.inode});
                searchFolder(spec.folder, spec.mask);
            }
        } catch (...) {
            m_owner.m_aborted = true;
        }
    }

private:
    bool stopped() const { return m_owner.m_aborted.load() || m_owner.m_stop.load(); }

    // Runs a handler where events belong; false when the search must stop.
    bool raise(const std::function<void()>& handler) {
        if (!m_threaded) {
            handler();
            return true;
        }
        return m_owner.callOnGuiThread(handler);
    }

    void searchFolder(const std::string& folder, const std::string& mask) {
        if (stopped())
            return;
        bool ignoreFolder = false;
        if (m_owner.OnNewFolder && !raise([&] { m_owner.OnNewFolder(&m_owner, folder, ignoreFolder); }))
            return;
        if (ignoreFolder)
            return;
        const std::vector<std::string> names = folderNames(folder);
        const std::string reported = folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
        std::vector<std::string> subfolders;
        for (const std::string& name : names) {
            if (stopped())
                return;
            Entry entry;
            if (!readEntry(folder, name, entry))
                continue;
            if ((entry.record.Attr & ffDirectory) != 0 && m_owner.Subfolders &&
                m_visited.insert({entry.device, entry.inode}).second)
                subfolders.push_back(name);
            if (!playlist::matchesSearchMask(name, mask) || !m_owner.passesFilter(folder, entry.record))
                continue;
            if (m_owner.OnFound && !raise([&] { m_owner.OnFound(&m_owner, reported, entry.record); }))
                return;
        }
        for (const std::string& name : subfolders)
            searchFolder(folder + name + "/", mask);
    }

    TFindFile& m_owner;
    bool m_threaded;
    // Folders already walked for this mask, so that linked folders that
    // lead back up end the walk instead of running forever.
    std::set<std::pair<dev_t, ino_t>> m_visited;
};

TFindFile::TFindFile(QObject* parent) : QObject(parent) {}

TFindFile::~TFindFile() {
    {
        std::lock_guard lock(m_handOverMutex);
        m_stop = true;
    }
    m_handOverDone.notify_all();
    if (m_thread)
        m_thread->wait();
}

void TFindFile::SetLocation(const std::string& location) {
    if (location.find_first_of("*?") != std::string::npos)
        throw EFindFileError(location + "\n\rlocation cannot to be contained wildcards");
    m_location = location;
}

void TFindFile::SetThreadPriority(QThread::Priority priority) {
    m_priority = priority;
    if (m_thread && m_thread->isRunning())
        m_thread->setPriority(priority);
}

void TFindFile::Execute() {
    if (m_busy)
        return;
    m_busy = true;
    m_aborted = false;
    std::vector<playlist::SearchSpec> list;
    try {
        if (IncludeFiles.empty())
            list = playlist::buildSearchList(m_location, Filename);
        else
            for (const std::string& specification : IncludeFiles)
                list.push_back(playlist::splitSearchSpec(specification));
    } catch (...) {
        m_aborted = true;
    }
    if (!Threaded) {
        Walk(*this, false).run(list);
        m_busy = false;
        if (OnComplete)
            OnComplete(this);
        return;
    }
    m_thread.reset(QThread::create([this, list] {
        Walk(*this, true).run(list);
        QMetaObject::invokeMethod(
            this, [this] { finishThreaded(); }, Qt::QueuedConnection);
    }));
    m_thread->start(m_priority);
}

void TFindFile::finishThreaded() {
    if (m_thread)
        m_thread->wait();
    m_thread.reset();
    m_busy = false;
    if (OnComplete)
        OnComplete(this);
}

bool TFindFile::callOnGuiThread(const std::function<void()>& handler) {
    struct HandOver {
        bool done = false;
        std::exception_ptr error;
    };
    auto handOver = std::make_shared<HandOver>();
    QMetaObject::invokeMethod(
        this,
        [this, handOver, &handler] {
            try {
                handler();
            } catch (...) {
                handOver->error = std::current_exception();
            }
            {
                std::lock_guard lock(m_handOverMutex);
                handOver->done = true;
            }
            m_handOverDone.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(m_handOverMutex);
    m_handOverDone.wait(lock, [&] { return handOver->done || m_stop.load(); });
    if (!handOver->done)
        return false;
    if (handOver->error)
        std::rethrow_exception(handOver->error);
    return true;
}

bool TFindFile::passesFilter(const std::string& folder, const TSearchRec& entry) const {
    const unsigned attributes = entry.Attr & (ffReadonly | ffHidden | ffSystem | ffDirectory | ffArchive);
    if (ExactAttribute ? attributes != Attributes : attributes != 0 && (attributes & Attributes) == 0)
        return false;
    const bool directory = (entry.Attr & ffDirectory) != 0;
    if (!directory && ((SizeMin != 0 && entry.Size < SizeMin) || (SizeMax != 0 && entry.Size > SizeMax)))
        return false;
    if (!withinBounds(entry.CreationTime, CreatedBefore, CreatedAfter) ||
        !withinBounds(entry.LastWriteTime, ModifiedBefore, ModifiedAfter) ||
        !withinBounds(entry.LastAccessTime, AccessedBefore, AccessedAfter))
        return false;
    for (const std::string& mask : ExcludeFiles)
        if (playlist::matchesExclusion(mask, folder, entry.Name))
            return false;
    if (!Containing.empty() && !directory)
        return fileContains(folder + entry.Name, Containing, IgnoreCase);
    return true;
}
