#include "DeckSides.h"

#include "contracts/MessageNumbers.h"
#include "skins/SkinFolders.h"

namespace {

const DeckSideTraits kDeckA = {
    DeckSide::A,
    "TPlayerA",
    skins::skin_files::kPlayerA,
    true,
    DeckSideTraits::InfoWindow::About,
    messages::kLoadNextDeckA,
    messages::kVolumeDeckA,
    messages::kLoadNextDeckB,
    &MixerApi::AutoFadeToB,
    &MixerApi::LevelLeftA,
    &MixerApi::LevelRightA,
    "PlayList",
    QSize(380, 234),
    QPoint(19, 49),
    "00:10:02",
    &PreferenceValues::soundCardA,
    &PreferenceValues::pitchPercentA,
};

const DeckSideTraits kDeckB = {
    DeckSide::B,
    "TPlayerB",
    skins::skin_files::kPlayerB,
    false,
    DeckSideTraits::InfoWindow::Preferences,
    messages::kLoadNextDeckB,
    messages::kVolumeDeckB,
    messages::kLoadNextDeckA,
    &MixerApi::AutoFadeToA,
    &MixerApi::LevelLeftB,
    &MixerApi::LevelRightB,
    "Play List",
    QSize(370, 234),
    QPoint(404, 53),
    "00:10:00",
    &PreferenceValues::soundCardB,
    &PreferenceValues::pitchPercentB,
};

} // namespace

const DeckSideTraits& deckSideTraits(DeckSide side) {
    return side == DeckSide::A ? kDeckA : kDeckB;
}
