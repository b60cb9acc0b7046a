#include "SkinnedWindow.h"

#include "SkinFolders.h"

#include "platform/ApplicationFolder.h"
#include "platform/ErrorReport.h"

namespace skins {

SkinnedWindow::SkinnedWindow(const char* windowClass, std::string definitionFile, FolderPolicy policy, QWidget* parent)
    : platform::PlacedWindow(windowClass, QSize(1, 1), Qt::FramelessWindowHint, parent), SkinForm1(new TSkinForm(this)),
      SkinFolder(defaultSkinFolder()), m_definitionFile(std::move(definitionFile)), m_policy(policy) {
    SkinForm1->setObjectName(QStringLiteral("SkinForm1"));
    try {
        SkinForm1->LoadSkin(SkinFolder + m_definitionFile);
    } catch (...) {
        platform::reportCurrentException();
    }
}

SkinnedWindow::~SkinnedWindow() = default;

void SkinnedWindow::ChangeSkinFolder(const std::string& folder) {
    if (folder == SkinFolder)
        return;
    if (m_policy == FolderPolicy::RecordAlways)
        SkinFolder = folder;
    if (platform::fileExists(folder + m_definitionFile)) {
        SkinFolder = folder;
        SkinForm1->LoadSkin(folder + m_definitionFile);
    } else {
        SkinForm1->LoadSkin(defaultSkinFolder() + m_definitionFile);
    }
}

} // namespace skins
