#pragma once

#include "platform/IniFile.h"

#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace platform {

// Keeps a window's placement in one section of the settings file, named
// after the window class. Reading happens whenever the window is shown (and,
// for windows that ask for it, at creation); writing happens when the window
// is closed and while it is destroyed, unless the section was written since
// it was last read. Windows with a store cannot be resized or maximized.
class WindowPlacementStore {
public:
    WindowPlacementStore(QWidget* window, std::string section);

    // The settings file; windows set it to "asdf.ini" in the current working
    // directory when they are created.
    void setIniFileName(const std::string& path) { m_path = path; }
    const std::string& iniFileName() const { return m_path; }
    const std::string& section() const { return m_section; }
    // The main window's minimized state minimizes the whole application.
    void setMainWindow(bool isMain) { m_isMainWindow = isMain; }
    bool isMainWindow() const { return m_isMainWindow; }

    // Extra values of the section (control values, band values), read after
    // the placement and written after the placement keys.
    std::function<void(const IniDocument&)> onReadValues;
    std::function<void(IniDocument&)> onWriteValues;

    // Reads the section and applies it. Errors go to the general error
    // report; the window keeps its state.
    void read();
    enum class Moment { Closing, Destroying };
    void write(Moment moment);
    // Writes at destruction unless written since the last read.
    void writeIfNotWrittenSinceRead();
    bool writtenSinceRead() const { return m_writtenSinceRead; }

    static int currentPixelsPerInch(const QWidget* window);

private:
    void applyPlacement(const IniDocument& document);

    QWidget* m_window;
    std::string m_section;
    std::string m_path;
    bool m_isMainWindow = false;
    bool m_writtenSinceRead = false;
};

// Placement keys, in the order they are written.
namespace placement_keys {
inline constexpr const char* kFormVersion = "FormVersion";
inline constexpr const char* kFlags = "Flags";
inline constexpr const char* kShowCmd = "ShowCmd";
inline constexpr const char* kPixelsPerInch = "PixelsPerInch";
inline constexpr const char* kMinMaxPos = "MinMaxPos";
inline constexpr const char* kNormPos = "NormPos";
inline constexpr const char* kVisible = "Visible";
} // namespace placement_keys

} // namespace platform
