#include "ErrorReport.h"

#include <QApplication>
#include <QMessageBox>

#include <stdexcept>

namespace platform {
namespace {
ErrorReporter& currentReporter() {
    static ErrorReporter reporter;
    return reporter;
}
} // namespace

ErrorReporter setErrorReporter(ErrorReporter reporter) {
    ErrorReporter previous = std::move(currentReporter());
    currentReporter() = std::move(reporter);
    return previous;
}

void reportError(const QString& text) {
    if (currentReporter()) {
        currentReporter()(text);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), text);
}

QString textOfCurrentException() {
    try {
        throw;
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

void reportCurrentException() {
    reportError(textOfCurrentException());
}

} // namespace platform
