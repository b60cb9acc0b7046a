#include "PlayListRules.h"

#include "TrackText.h"

#include <QFile>

namespace playlist {
namespace {

constexpr const char* kPlaying = "PLAYING";
constexpr const char* kPaused = "PAUSED";

} // namespace

std::string pathCellOf(const QString& filePath) {
    return encodePath(QFile::encodeName(filePath).toStdString());
}

QString filePathOf(const std::string& pathCell) {
    return QFile::decodeName(QByteArray::fromStdString(decodePath(pathCell)));
}

void SortState::press(int buttonColumn) {
    if (buttonColumn == column)
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    else
        column = buttonColumn;
}

DoubleClickTarget doubleClickTarget(const QString& stateA, const QString& stateB, int playListSelectionCount,
                                    bool fromWaitList) {
    if (stateA != QLatin1String(kPlaying) || playListSelectionCount == 0)
        return DoubleClickTarget::DeckA;
    if (stateB != QLatin1String(kPlaying) || playListSelectionCount == 0)
        return DoubleClickTarget::DeckB;
    return fromWaitList ? DoubleClickTarget::Nothing : DoubleClickTarget::WaitList;
}

bool deckLoadItemEnabled(const QString& deckState, int selectedCount) {
    return deckState != QLatin1String(kPlaying) && deckState != QLatin1String(kPaused) && selectedCount <= 1;
}

int waitListDropIndex(int releaseRow, int count) {
    if (releaseRow < 0 || releaseRow >= count)
        return count - 1;
    return releaseRow;
}

std::optional<int> moveUpIndex(int index) {
    if (index > 0)
        return index - 1;
    return std::nullopt;
}

std::optional<int> moveDownIndex(int index, int count) {
    if (index >= 0 && index < count - 1)
        return index + 1;
    return std::nullopt;
}

std::optional<ChosenTrack> chooseNextTrack(TrackListModel& waitList, TrackListModel& playList, bool autoPlay,
                                           const NextTrackSources& sources) {
    while (!waitList.isEmpty()) {
        const QString filePath = filePathOf(waitList.cell(0, kPathCell));
        std::optional<ChosenTrack> chosen;
        if (sources.fileExists(filePath))
            chosen = ChosenTrack{filePath, waitList.cell(0, kBpmCell)};
        waitList.removeRowAt(0);
        if (chosen)
            return chosen;
    }
    if (!autoPlay)
        return std::nullopt;
    while (!playList.isEmpty()) {
        const int index = sources.randomIndex(playList.count());
        const QString filePath = filePathOf(playList.cell(index, kPathCell));
        if (sources.fileExists(filePath))
            return ChosenTrack{filePath, playList.cell(index, kBpmCell)};
        playList.removeRowAt(index);
    }
    return std::nullopt;
}

} // namespace playlist
