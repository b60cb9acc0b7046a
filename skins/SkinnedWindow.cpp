#include "SkinnedWindow.h"

#include "RegionFromMask.h"
#include "SkinError.h"
#include "SkinFolders.h"
#include "SkinModel.h"

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

void SkinnedWindow::checkSkinFolder(const QString& folder) const {
    const std::string path = folder.toStdString() + m_definitionFile;
    if (folder.toStdString() == SkinFolder || !platform::fileExists(path))
        return;
    try {
        SkinModel trial;
        trial.LoadSkin(path, [this](const QImage& mask) {
            (void)CreateRegionFromMask(mask, SkinForm1->KeyColor, SkinForm1->Tolerance);
        });
    } catch (const std::exception& error) {
        throw ESkinError(path + ": " + error.what());
    }
}

void SkinnedWindow::restoreSkinFolder(const QString& folder) {
    const std::string target = folder.toStdString();
    SkinFolder.clear();
    try {
        ChangeSkinFolder(target);
    } catch (...) {
        SkinFolder = target;
        throw;
    }
    SkinFolder = target;
}

} // namespace skins
