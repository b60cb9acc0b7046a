#include "Mixer.h"

#include "skins/SkinFolders.h"

TMixer::TMixer() : skins::SkinnedWindow("TMixer", skins::skin_files::kMixer, FolderPolicy::RecordWhenFound) {
    setWindowTitle(QStringLiteral("Mixer"));
    bindPlacementStore();
    move(412, 300);
}
