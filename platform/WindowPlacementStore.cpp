#include "WindowPlacementStore.h"

#include "ApplicationMinimize.h"

#include "ErrorReport.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <array>
#include <set>
#include <sstream>

namespace platform {
namespace {

constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;

bool isMinimizedShowCommand(int command) {
    return command == 2 || command == 6 || command == 7;
}

// Reads "%d,%d,%d,%d"; a missing or unreadable number takes its default.
std::array<int, 4> parseRectangle(const std::string& text, const std::array<int, 4>& defaults) {
    std::array<int, 4> values = defaults;
    std::stringstream stream(text);
    std::string item;
    for (size_t i = 0; i < values.size() && std::getline(stream, item, ','); ++i) {
        size_t begin = item.find_first_not_of(' ');
        size_t end = item.find_last_not_of(' ');
        if (begin == std::string::npos)
            continue;
        if (auto number = parseInteger(item.substr(begin, end - begin + 1)))
            values[i] = *number;
    }
    return values;
}

// Every window reads and writes the same settings file at start-up and at
// shutdown: one that cannot be read is reported once, not once per window
// and moment. Nothing is written to it either way.
void reportUnreadable(const IniReadError& error, const std::string& path) {
    static std::set<std::string> reported;
    if (reported.insert(path).second)
        reportError(QString::fromStdString(std::string(error.what()) +
                                           "; the window settings are not saved until it can be read."));
}

std::string formatRectangle(int a, int b, int c, int d) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," + std::to_string(d);
}

} // namespace

WindowPlacementStore::WindowPlacementStore(QWidget* window, std::string section)
    : m_window(window), m_section(std::move(section)) {}

int WindowPlacementStore::currentPixelsPerInch(const QWidget* window) {
    const QScreen* screen = window != nullptr ? window->screen() : nullptr;
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? qRound(screen->logicalDotsPerInchY()) : 96;
}

void WindowPlacementStore::read() {
    if (m_path.empty())
        return;
    try {
        const IniDocument document = IniDocument::load(m_path);
        if (document.readInteger(m_section, placement_keys::kFormVersion, -1) >= 0)
            applyPlacement(document);
        if (onReadValues)
            onReadValues(document);
        m_writtenSinceRead = false;
    } catch (const IniReadError& error) {
        reportUnreadable(error, m_path);
    } catch (...) {
        reportCurrentException();
    }
}

void WindowPlacementStore::applyPlacement(const IniDocument& document) {
    using namespace placement_keys;
    const bool samePixelsPerInch =
        document.readInteger(m_section, kPixelsPerInch, -1) == currentPixelsPerInch(m_window);
    const auto minMaxText = document.value(m_section, kMinMaxPos);
    const auto normalText = document.value(m_section, kNormPos);
    if (samePixelsPerInch && (minMaxText || normalText)) {
        const QRect frame = m_window->frameGeometry();
        const auto normal =
            parseRectangle(normalText.value_or(""),
                           {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()});
        // The window keeps its own size: only the stored left and top count.
        if (normal[0] < normal[2])
            m_window->move(normal[0], normal[1]);
    }
    const int showCommand = document.readInteger(m_section, kShowCmd, kShowNormal);
    if (isMinimizedShowCommand(showCommand)) {
        if (m_isMainWindow) {
            minimizeApplication();
        } else {
            m_window->setWindowState(m_window->windowState() | Qt::WindowMinimized);
        }
    }
}

void WindowPlacementStore::write(Moment moment) {
    if (m_path.empty())
        return;
    try {
        using namespace placement_keys;
        IniDocument document = IniDocument::load(m_path);
        const QRect frame = m_window->frameGeometry();
        const bool minimized = m_window->isMinimized();
        document.writeString(m_section, kFormVersion, "0");
        document.writeString(m_section, kFlags, "0");
        document.writeString(m_section, kShowCmd, std::to_string(minimized ? kShowMinimized : kShowNormal));
        document.writeString(m_section, kPixelsPerInch, std::to_string(currentPixelsPerInch(m_window)));
        document.writeString(m_section, kMinMaxPos, formatRectangle(-1, -1, -1, -1));
        document.writeString(
            m_section, kNormPos,
            formatRectangle(frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()));
        document.writeString(m_section, kVisible, moment == Moment::Destroying ? "1" : "0");
        if (onWriteValues)
            onWriteValues(document);
        document.save(m_path);
        m_writtenSinceRead = true;
    } catch (const IniReadError& error) {
        reportUnreadable(error, m_path);
    } catch (...) {
        reportCurrentException();
    }
}

void WindowPlacementStore::writeIfNotWrittenSinceRead() {
    if (!m_writtenSinceRead)
        write(Moment::Destroying);
}

} // namespace platform
