#include "SkinnedWindow.h"

#include "RegionFromMask.h"
#include "SkinError.h"
#include "SkinFolders.h"
#include "SkinModel.h"

#include "platform/ApplicationFolder.h"
#include "platform/ErrorReport.h"

#include <QChildEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>

namespace skins {

SkinnedWindow::SkinnedWindow(const char* windowClass, std::string definitionFile, FolderPolicy policy, QWidget* parent)
    : platform::PlacedWindow(windowClass, QSize(1, 1), Qt::FramelessWindowHint, parent), SkinForm1(new TSkinForm(this)),
      SkinFolder(defaultSkinFolder()), m_definitionFile(std::move(definitionFile)), m_policy(policy) {
    SkinForm1->setObjectName(QStringLiteral("SkinForm1"));
    watchKeysOf(this);
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

void SkinnedWindow::keyPressEvent(QKeyEvent* event) {
    if (!m_deliveringToChild)
        forwardKey(*event);
}

void SkinnedWindow::keyReleaseEvent(QKeyEvent* event) {
    if (!m_deliveringToChild)
        forwardKey(*event);
}

void SkinnedWindow::forwardKey(const QKeyEvent& event) {
    const bool press = event.type() == QEvent::KeyPress;
    // A held key repeats as release-and-press pairs marked as repeats; only
    // the final release lets it go, so a held bend or flash never flickers.
    if (!press && event.isAutoRepeat())
        return;
    const auto& hook = press ? forwardKeyDown : forwardKeyUp;
    if (hook)
        hook(platform::virtualKeyFromQt(event.key()),
             platform::shiftStateFrom(event.modifiers(), QGuiApplication::mouseButtons()));
}

void SkinnedWindow::watchKeysOf(QObject* object) {
    object->installEventFilter(this);
    for (QObject* child : object->children())
        watchKeysOf(child);
}

bool SkinnedWindow::eventFilter(QObject* watched, QEvent* event) {
    // Children added later are watched from birth; grandchildren are
    // announced to the watched child.
    if (event->type() == QEvent::ChildAdded) {
        watchKeysOf(static_cast<QChildEvent*>(event)->child());
        return false;
    }
    const bool isKey = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (!isKey || watched == this || m_deliveringToChild)
        return false;
    // Menus and dialogs owned by the window are windows of their own: typing
    // a file name must not toggle windows.
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != this)
        return false;
    forwardKey(*static_cast<QKeyEvent*>(event));
    // The child gets the key as before, and so does this window should the
    // child ignore it, but without forwarding it a second time.
    QPointer<QObject> child(watched);
    m_deliveringToChild = true;
    if (child)
        QCoreApplication::sendEvent(child, event);
    m_deliveringToChild = false;
    event->accept();
    return true;
}

} // namespace skins
