#include "PlayListForm.h"

#include "ListAppearance.h"
#include "PlayListElements.h"
#include "PlayListFileType.h"
#include "PlayListFiles.h"
#include "TrackFiles.h"
#include "TrackText.h"

#include "contracts/DeckApi.h"
#include "contracts/MessageNumbers.h"
#include "platform/DialogFilter.h"
#include "platform/ErrorReport.h"
#include "platform/IniFile.h"
#include "skins/SkinFolders.h"
#include "skins/SplitFields.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QRandomGenerator>
#include <QUrl>

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <typeinfo>

using namespace playlist_elements;
using playlist::kArtistCell;
using playlist::kBpmCell;
using playlist::kPathCell;
using playlist::kTitleCell;

namespace {

constexpr QPoint kDesignPosition(19, 300);
// Found tracks are added in slices: at most this long at a time, and at
// most this often, so that the list is laid out and painted once for many
// tracks rather than once for each.
constexpr qint64 kFoundTracksSliceMs = 20;
constexpr int kFoundTracksIntervalMs = 40;

TBPMThread::Measurement& bpmMeasurement() {
    static TBPMThread::Measurement measurement;
    return measurement;
}

// The class name of an error as its source spells it, not the compiler's
// mangled form.
std::string readableClassName(const std::exception& error) {
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                          &std::free);
    return status == 0 && demangled ? std::string(demangled.get()) : std::string(mangled);
}

QString text(const char* latin1) {
    return QString::fromLatin1(latin1);
}

bool hasTrackExtension(const QString& name) {
    return std::any_of(track_files::kTrackExtensions.begin(), track_files::kTrackExtensions.end(),
                       [&](std::string_view ending) {
                           return name.endsWith(QLatin1String(ending.data(), static_cast<qsizetype>(ending.size())),
                                                Qt::CaseSensitive);
                       });
}

std::string folderSearchMasks() {
    std::string masks;
    for (const std::string_view mask : track_files::kFolderSearchMasks)
        masks += (masks.empty() ? "" : ";") + std::string(mask);
    return masks;
}

std::string& storedPlayListPathOverride() {
    static std::string path;
    return path;
}

std::string storePathForNewWindow() {
    return storedPlayListPathOverride().empty() ? playlist::playListStorePath() : storedPlayListPathOverride();
}

} // namespace

TPlayListForm::TPlayListForm()
    : skins::SkinnedWindow("TPlayListForm", skins::skin_files::kPlayList, FolderPolicy::RecordWhenFound),
      PL(new playlist::TrackListView(this)), WL(new playlist::WaitListView(this)), PLMenu(new QMenu(this)),
      WLMenu(new QMenu(this)),
      m_playList(new playlist::TrackListModel(playlist::TrackListModel::Order::SortedByPath, this)),
      m_waitList(new playlist::TrackListModel(playlist::TrackListModel::Order::Arrival, this)),
      m_store(storePathForNewWindow()) {
    setWindowTitle(QStringLiteral("Play List"));
    bindPlacementStore();
    move(kDesignPosition);
    setAcceptDrops(true);

    PL->setObjectName(QStringLiteral("PL"));
    WL->setObjectName(QStringLiteral("WL"));
    PL->setModel(m_playList);
    WL->setModel(m_waitList);
    WL->hide();
    WL->onMoveRow = [this](int from, int to) { m_waitList->moveRowTo(from, to); };
    connect(PL, &QAbstractItemView::doubleClicked, this, [this] { PLDblClick(); });
    connect(WL, &QAbstractItemView::doubleClicked, this, [this] { WLDblClick(); });
    connect(PL, &QWidget::customContextMenuRequested, this, [this](QPoint at) { showMenu(PLMenu, PL, at); });
    connect(WL, &QWidget::customContextMenuRequested, this, [this](QPoint at) { showMenu(WLMenu, WL, at); });
    buildMenus();

    chooseTrackFiles = [this] {
        return QFileDialog::getOpenFileNames(this, QString(), QString(),
                                             platform::dialogFilter(text(track_files::kTrackFilter)));
    };
    confirm = [this](const QString& question) {
        return QMessageBox::question(this, QApplication::applicationDisplayName(), question,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    inform = [this](const QString& message) {
        QMessageBox::information(this, QApplication::applicationDisplayName(), message);
    };
    randomIndex = [](int count) { return static_cast<int>(QRandomGenerator::global()->bounded(count)); };
    choosePlayListToLoad = [this] {
        return QFileDialog::getOpenFileName(this, QString(), playListFolder(),
                                            platform::dialogFilter(text(playlist::kLoadDialogFilter)));
    };
    choosePlayListToSave = [this] {
        QFileDialog dialog(this, QString(), playListFolder(),
                           platform::dialogFilter(text(playlist::kSaveDialogFilter)));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(text(playlist::kOwnExtension));
        // A name typed without an ending gets the one of the chosen format.
        connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            dialog.setDefaultSuffix(text(filter.contains(QLatin1String(playlist::kM3u8Extension))
                                             ? playlist::kM3u8Extension
                                             : playlist::kOwnExtension));
        });
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                       : QString();
    };

    FindFile1.Filename = folderSearchMasks();
    FindFile1.Threaded = true;
    FindFile1.Subfolders = true;
    FindFile1.OnFound = [this](TFindFile*, const std::string& Folder, const TSearchRec& FileInfo) {
        FindFile1Found(Folder, FileInfo);
    };
    FindFile1.OnComplete = [this](TFindFile*) { FindFile1Complete(); };
    m_addFoundTracks = new QTimer(this);
    m_addFoundTracks->setSingleShot(true);
    m_addFoundTracks->setInterval(kFoundTracksIntervalMs);
    connect(m_addFoundTracks, &QTimer::timeout, this, &TPlayListForm::addFoundTracks);

    SkinForm1->OnMouseDownNotify = [this](const QString& ID, Qt::MouseButton Button, platform::ShiftState, int, int) {
        SkinForm1MouseDownNotify(ID, Button);
    };
    SkinForm1->OnMouseUpNotify = [this](const QString& ID, Qt::MouseButton Button, platform::ShiftState, int, int) {
        SkinForm1MouseUpNotify(ID, Button);
    };
    SkinForm1->OnSkinChanged = [this](TSkinForm*) { SkinForm1SkinChanged(); };
    // The base loaded the default skin before these handlers were set.
    SkinForm1SkinChanged();

    loadStoredPlayList();
    startBpmWorker();
}

TPlayListForm::~TPlayListForm() {
    saveStoredPlayList();
    // A measurement under way is finished first; its result is never read.
    if (m_bpmWorker)
        m_bpmWorker->Terminate();
    m_bpmWorker.reset();
    engine::setThreadErrorHook(m_previousErrorHook);
}

void TPlayListForm::setStoredPlayListPath(std::string path) {
    storedPlayListPathOverride() = std::move(path);
}

void TPlayListForm::loadStoredPlayList() {
    playlist::PlayListStore::Loaded stored = m_store.load(m_delimiter);
    if (!stored.rows.empty())
        m_playList->replaceRows(std::move(stored.rows));
    if (!stored.error.empty())
        platform::reportError(QString::fromLocal8Bit(stored.error));
}

void TPlayListForm::saveStoredPlayList() {
    try {
        m_store.save(m_playList->rows(), m_delimiter);
    } catch (const std::exception& error) {
        platform::reportError(QString::fromLocal8Bit(error.what()));
    }
}

// The dialogs open where the stored play list lives: the application folder,
// or the user's data folder when the application folder cannot be written.
QString TPlayListForm::playListFolder() const {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(m_store.path()))).absolutePath();
}

void TPlayListForm::LoadPlayList() {
    const QString fileName = choosePlayListToLoad ? choosePlayListToLoad() : QString();
    if (!fileName.isEmpty())
        LoadPlayListFile(fileName);
}

void TPlayListForm::SavePlayList() {
    const QString fileName = choosePlayListToSave ? choosePlayListToSave() : QString();
    if (!fileName.isEmpty())
        SavePlayListFile(fileName);
}

void TPlayListForm::LoadPlayListFile(const QString& fileName) {
    playlist::PlayListFileContents contents =
        playlist::openPlayListFile(QFile::encodeName(fileName).toStdString(), m_delimiter);
    switch (contents.action) {
    case playlist::PlayListFileContents::Action::Refuse:
        if (inform)
            inform(QString::fromLocal8Bit(contents.message));
        return;
    case playlist::PlayListFileContents::Action::ReplaceRows:
        m_playList->replaceRows(std::move(contents.rows));
        return;
    case playlist::PlayListFileContents::Action::AddTracks:
        m_playList->clear();
        // One unreadable track must not end the loading of a whole list; it
        // is skipped and the first reason reported at the end.
        QString firstReadError;
        for (const std::string& path : contents.paths) {
            try {
                AddTrack(QFile::decodeName(QByteArray::fromStdString(path)));
            } catch (const std::exception& error) {
                if (firstReadError.isEmpty())
                    firstReadError = QString::fromLocal8Bit(error.what());
            }
        }
        if (!firstReadError.isEmpty())
            platform::reportError(firstReadError);
        return;
    }
}

void TPlayListForm::SavePlayListFile(const QString& fileName) {
    try {
        playlist::savePlayListFile(QFile::encodeName(fileName).toStdString(), m_playList->rows(), m_delimiter);
    } catch (const std::exception& error) {
        platform::reportError(QString::fromLocal8Bit(error.what()));
    }
}

void TPlayListForm::setBpmMeasurement(TBPMThread::Measurement measurement) {
    bpmMeasurement() = std::move(measurement);
}

void TPlayListForm::startBpmWorker() {
    m_previousErrorHook = engine::setThreadErrorHook([this](TThreadBase*, const std::exception& error) {
        const EThreadException wrapped(std::string(error.what()) + "  [" + readableClassName(error) + "]");
        platform::PostMessage(this, messages::kWorkerFailed, 0, 0, QByteArray(wrapped.what()));
    });
    m_bpmWorker = std::make_unique<TBPMThread>();
    if (bpmMeasurement())
        m_bpmWorker->Measure = bpmMeasurement();
    m_bpmWorker->WindowHandle = this;
    m_bpmWorker->Resume();
}

void TPlayListForm::setDecks(DeckApi* deckA, DeckApi* deckB) {
    m_deckA = deckA;
    m_deckB = deckB;
}

DeckApi* TPlayListForm::deck(DeckSide which) const {
    return which == DeckSide::A ? m_deckA : m_deckB;
}

QString TPlayListForm::deckState(DeckSide which) const {
    const DeckApi* target = deck(which);
    return target != nullptr ? target->deckStateText() : QString();
}

void TPlayListForm::buildMenus() {
    m_playListLoadA = PLMenu->addAction(text(kPlayListLoadA), this, [this] { LoadFromPlayList(DeckSide::A); });
    m_playListLoadB = PLMenu->addAction(text(kPlayListLoadB), this, [this] { LoadFromPlayList(DeckSide::B); });
    PLMenu->addAction(text(kPlayListSendToWaitList), this, [this] { SendToWaitList(); });
    m_waitListLoadA = WLMenu->addAction(text(kWaitListLoadA), this, [this] { LoadFromWaitList(DeckSide::A); });
    m_waitListLoadB = WLMenu->addAction(text(kWaitListLoadB), this, [this] { LoadFromWaitList(DeckSide::B); });
    connect(PLMenu, &QMenu::aboutToHide, this, [this] { enableLoadItems(true); });
    connect(WLMenu, &QMenu::aboutToHide, this, [this] { enableLoadItems(true); });
}

void TPlayListForm::enableLoadItems(bool enabled) {
    for (QAction* item : {m_playListLoadA, m_playListLoadB, m_waitListLoadA, m_waitListLoadB})
        item->setEnabled(enabled);
}

void TPlayListForm::showMenu(QMenu* menu, playlist::TrackListView* view, QPoint position) {
    const int selected = view->selectedRowCount();
    const bool waitListMenu = menu == WLMenu;
    (waitListMenu ? m_waitListLoadA : m_playListLoadA)
        ->setEnabled(playlist::deckLoadItemEnabled(deckState(DeckSide::A), selected));
    (waitListMenu ? m_waitListLoadB : m_playListLoadB)
        ->setEnabled(playlist::deckLoadItemEnabled(deckState(DeckSide::B), selected));
    menu->popup(view->viewport()->mapToGlobal(position));
}

QString TPlayListForm::NextTrack() {
    const playlist::NextTrackSources sources{[](const QString& path) { return QFileInfo::exists(path); }, randomIndex};
    const auto chosen = playlist::chooseNextTrack(*m_waitList, *m_playList, AutoPlay, sources);
    if (!chosen)
        return text(playlist::kNoNextTrack);
    LoadedBpm = QString::fromLocal8Bit(chosen->bpm);
    return chosen->filePath;
}

void TPlayListForm::AddTrack(const QString& filePath) {
    const std::string pathCell = playlist::pathCellOf(filePath);
    if (m_playList->containsPath(pathCell))
        return;
    MP3Tag1.SetFilename(QFile::encodeName(filePath).toStdString());
    m_playList->addRow({pathCell, playlist::kUnmeasuredBpm, playlist::cleanTagText(MP3Tag1.Artist()),
                        playlist::cleanTagText(MP3Tag1.Title())});
}

void TPlayListForm::AddFilesByDialog() {
    ShowWaitList(false);
    const QStringList files = chooseTrackFiles ? chooseTrackFiles() : QStringList();
    for (const QString& file : files)
        AddTrack(file);
}

void TPlayListForm::DropNames(const QStringList& names) {
    ShowWaitList(false);
    for (const QString& name : names) {
        if (hasTrackExtension(name)) {
            AddTrack(name);
        } else if (QFileInfo(name).isDir() && !FindFile1.Busy()) {
            // The folder goes in as a whole search specification rather than
            // as the location: folder names may hold ";" or "*", which the
            // location would split or refuse.
            const QString folder = name.endsWith(u'/') ? name : name + u'/';
            FindFile1.IncludeFiles.clear();
            for (const std::string_view mask : track_files::kFolderSearchMasks)
                FindFile1.IncludeFiles.push_back(QFile::encodeName(folder).toStdString() + std::string(mask));
            FindFile1.Execute();
        }
    }
}

void TPlayListForm::FindFile1Found(const std::string& Folder, const TSearchRec& FileInfo) {
    const std::string path = Folder == "/" ? Folder + FileInfo.Name : Folder + "/" + FileInfo.Name;
    m_foundTracks.push_back(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!m_addFoundTracks->isActive())
        m_addFoundTracks->start();
}

void TPlayListForm::addFoundTracks() {
    QElapsedTimer slice;
    slice.start();
    while (!m_foundTracks.empty() && slice.elapsed() < kFoundTracksSliceMs) {
        const QString path = std::move(m_foundTracks.front());
        m_foundTracks.pop_front();
        // One unreadable file must not end the search of a whole collection;
        // it is skipped and reported once the search is done.
        try {
            AddTrack(path);
        } catch (const std::exception& error) {
            if (m_unreadableTracks++ == 0)
                m_firstReadError = QString::fromLocal8Bit(error.what());
        }
    }
    if (!m_foundTracks.empty())
        m_addFoundTracks->start();
    else if (!FindFile1.Busy())
        reportUnreadableTracks();
}

void TPlayListForm::FindFile1Complete() {
    if (m_foundTracks.empty())
        reportUnreadableTracks();
}

void TPlayListForm::reportUnreadableTracks() {
    if (m_unreadableTracks == 0)
        return;
    const QString report = m_firstReadError;
    m_unreadableTracks = 0;
    m_firstReadError.clear();
    platform::reportError(report);
}

void TPlayListForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TPlayListForm::dropEvent(QDropEvent* event) {
    QStringList names;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            names << url.toLocalFile();
    event->acceptProposedAction();
    DropNames(names);
}

void TPlayListForm::MeasureNext() {
    if (m_measuring || !m_bpmWorker)
        return;
    for (const playlist::TrackCells& cells : m_playList->rows()) {
        if (cells[kBpmCell] == playlist::kUnmeasuredBpm) {
            m_measuring = m_bpmWorker->Request(playlist::filePathOf(cells[kPathCell]));
            return;
        }
    }
}

void TPlayListForm::BpmResult(uintptr_t tenths, const QByteArray& fileName) {
    m_measuring = false;
    // A track removed while it was measured has no entry any more; its
    // result is dropped and the walk goes on.
    const int entry = m_playList->findPath(playlist::encodePath(fileName.toStdString()));
    if (entry >= 0)
        m_playList->setCell(entry, kBpmCell, playlist::formatBpmResult(static_cast<long long>(tenths)));
    MeasureNext();
}

bool TPlayListForm::handleMessage(const platform::WindowMessage& message, intptr_t&) {
    if (message.number == messages::kBpmResult) {
        BpmResult(message.wParam, message.payload);
        return true;
    }
    if (message.number == messages::kWorkerFailed) {
        m_lastWorkerFailure = QString::fromUtf8(message.payload);
        m_measuring = false;
        return true;
    }
    return false;
}

bool TPlayListForm::event(QEvent* event) {
    return platform::dispatchWindowMessage(event, *this) || skins::SkinnedWindow::event(event);
}

void TPlayListForm::SendToWaitList() {
    if (m_waitListShown)
        return;
    for (int row : PL->selectedRowIndexes()) {
        const playlist::TrackCells& cells = m_playList->row(row);
        if (!cells[kPathCell].empty())
            m_waitList->addRow(cells);
    }
}

void TPlayListForm::RemoveSelected() {
    playlist::TrackListView* view = m_waitListShown ? static_cast<playlist::TrackListView*>(WL) : PL;
    (m_waitListShown ? m_waitList : m_playList)->removeRowsAt(view->selectedRowIndexes());
}

void TPlayListForm::MoveUp() {
    if (!m_waitListShown)
        return;
    const std::vector<int> selected = WL->selectedRowIndexes();
    if (selected.empty())
        return;
    const int index = selected.front();
    const int target = playlist::moveUpIndex(index).value_or(index);
    m_waitList->swapRows(index, target);
    WL->focusRow(target);
}

void TPlayListForm::MoveDown() {
    if (!m_waitListShown)
        return;
    const std::vector<int> selected = WL->selectedRowIndexes();
    if (selected.empty())
        return;
    const int index = selected.front();
    const int target = playlist::moveDownIndex(index, m_waitList->count()).value_or(index);
    m_waitList->swapRows(index, target);
    WL->focusRow(target);
}

void TPlayListForm::SortByColumn(int column) {
    m_sort.press(column);
    m_playList->sortByColumn(m_sort.column, m_sort.order);
}

void TPlayListForm::ShowWaitList(bool shown) {
    m_waitListShown = shown;
    WL->setVisible(shown);
    if (shown)
        WL->raise();
    SkinForm1->SetGaugePosition(text(kListGauge), shown ? 100 : 0);
}

void TPlayListForm::SelectAll() {
    show();
    raise();
    playlist::TrackListView* view = m_waitListShown ? static_cast<playlist::TrackListView*>(WL) : PL;
    view->setFocus();
    view->selectAll();
}

void TPlayListForm::loadIntoDeck(DeckSide which, const playlist::TrackCells& cells, bool& fileFound) {
    LoadedBpm = QString::fromLocal8Bit(cells[kBpmCell]);
    const QString filePath = playlist::filePathOf(cells[kPathCell]);
    fileFound = QFileInfo::exists(filePath);
    if (fileFound) {
        if (DeckApi* target = deck(which))
            target->LoadTrack(filePath);
    }
}

void TPlayListForm::LoadFromPlayList(DeckSide which) {
    const std::vector<int> selected = PL->selectedRowIndexes();
    if (selected.empty())
        return;
    bool fileFound = false;
    loadIntoDeck(which, m_playList->row(selected.front()), fileFound);
    if (!fileFound && confirm && confirm(text(kAskRemoveMissing)))
        m_playList->removeRowsAt(PL->selectedRowIndexes());
}

void TPlayListForm::LoadFromWaitList(DeckSide which) {
    const std::vector<int> selected = WL->selectedRowIndexes();
    if (selected.empty())
        return;
    bool fileFound = false;
    loadIntoDeck(which, m_waitList->row(selected.front()), fileFound);
    if (!fileFound && inform)
        inform(text(kRemovingMissing));
    m_waitList->removeRowsAt(WL->selectedRowIndexes());
}

void TPlayListForm::PLDblClick() {
    switch (
        playlist::doubleClickTarget(deckState(DeckSide::A), deckState(DeckSide::B), PL->selectedRowCount(), false)) {
    case playlist::DoubleClickTarget::DeckA:
        LoadFromPlayList(DeckSide::A);
        break;
    case playlist::DoubleClickTarget::DeckB:
        LoadFromPlayList(DeckSide::B);
        break;
    case playlist::DoubleClickTarget::WaitList:
        SendToWaitList();
        break;
    case playlist::DoubleClickTarget::Nothing:
        break;
    }
}

void TPlayListForm::WLDblClick() {
    switch (playlist::doubleClickTarget(deckState(DeckSide::A), deckState(DeckSide::B), PL->selectedRowCount(), true)) {
    case playlist::DoubleClickTarget::DeckA:
        LoadFromWaitList(DeckSide::A);
        break;
    case playlist::DoubleClickTarget::DeckB:
        LoadFromWaitList(DeckSide::B);
        break;
    case playlist::DoubleClickTarget::WaitList:
    case playlist::DoubleClickTarget::Nothing:
        break;
    }
}

void TPlayListForm::SkinForm1MouseDownNotify(const QString& ID, Qt::MouseButton) {
    if (ID == QLatin1String(kWaitListToggle))
        ShowWaitList(!m_waitListShown);
    else if (ID == QLatin1String(kWaitListPlusButton))
        SendToWaitList();
    else if (ID == QLatin1String(kListMinusButton))
        RemoveSelected();
    else if (ID == QLatin1String(kUpButton))
        MoveUp();
    else if (ID == QLatin1String(kDownButton))
        MoveDown();
    else if (ID == QLatin1String(kBpmSort))
        SortByColumn(kBpmCell);
    else if (ID == QLatin1String(kArtistSort))
        SortByColumn(kArtistCell);
    else if (ID == QLatin1String(kTitleSort))
        SortByColumn(kTitleCell);
}

void TPlayListForm::SkinForm1MouseUpNotify(const QString& ID, Qt::MouseButton) {
    if (ID == QLatin1String(kBpmButton))
        MeasureNext();
    else if (ID == QLatin1String(kPlayListPlusButton))
        AddFilesByDialog();
    else if (ID == QLatin1String(kLoadPlayListButton))
        LoadPlayList();
    else if (ID == QLatin1String(kSavePlayListButton))
        SavePlayList();
}

void TPlayListForm::SkinForm1SkinChanged() {
    applyListAppearance();
    SkinForm1->SetGaugePosition(text(kListGauge), m_waitListShown ? 100 : 0);
}

void TPlayListForm::applyListAppearance() {
    const platform::IniDocument skin = platform::IniDocument::load(SkinFolder + skins::skin_files::kPlayList);
    const auto appearance = [&skin](const char* key) {
        return playlist::parseListAppearance(
            skins::SplitFields(skin.readString(playlist::kPlayListInfoSection, key, playlist::kDefaultListAppearance)));
    };
    PL->applyAppearance(appearance(playlist::kPlayListKey));
    WL->applyAppearance(appearance(playlist::kWaitListKey));
    PL->raise();
    if (m_waitListShown)
        WL->raise();
}
