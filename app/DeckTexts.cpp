#include "DeckTexts.h"

namespace app {
namespace {
constexpr int kOutputModuleRegisterCommand = 27;
}

QString sampleRateText(uint32_t frequencyHz) {
    return QString::number(frequencyHz / 1000) + QLatin1Char('.') + QString::number((frequencyHz % 1000) / 100);
}

QString bitRateText(int bitRateKbps) {
    return QString::number(bitRateKbps);
}

QString printableTagText(const std::string& field) {
    QString text;
    text.reserve(static_cast<qsizetype>(field.size()));
    for (const char byte : field) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 32 && code <= 126)
            text += QLatin1Char(byte);
    }
    return text;
}

QString deckTitleText(const std::string& title, const std::string& album) {
    return printableTagText(title) + QStringLiteral(" - ") + printableTagText(album);
}

QString commandFailedText(int command, const QString& engineText) {
    const QString name =
        command == kOutputModuleRegisterCommand ? QStringLiteral("OutputModuleRegister") : QString::number(command);
    return QStringLiteral("Command Failed [") + name + QStringLiteral("] (") + engineText + QStringLiteral(")");
}

} // namespace app
