#include "PlayListForm.h"

#include "skins/SkinFolders.h"

TPlayListForm::TPlayListForm()
    : skins::SkinnedWindow("TPlayListForm", skins::skin_files::kPlayList, FolderPolicy::RecordWhenFound) {
    setWindowTitle(QStringLiteral("Play List"));
    bindPlacementStore();
    move(19, 300);
}
