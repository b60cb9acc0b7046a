#include "DialogFilter.h"

#include <QStringList>

namespace platform {

QString dialogFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString masks = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
        // A description that already shows its masks in parentheses would
        // show them twice; Qt reads the masks from the parentheses.
        const int open = description.lastIndexOf('(');
        if (open >= 0 && description.endsWith(')'))
            description = description.left(open).trimmed();
        result << QStringLiteral("%1 (%2)").arg(description, masks);
    }
    if (parts.size() % 2 == 1 && !parts.last().isEmpty())
        result << parts.last();
    return result.join(QStringLiteral(";;"));
}

} // namespace platform
