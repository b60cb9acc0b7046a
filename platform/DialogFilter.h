#pragma once

#include <QString>

namespace platform {

// Converts a filter written as "Description|mask;mask|Description|mask"
// into the form Qt's file dialogs take ("Description (mask mask);;...").
QString dialogFilter(const QString& filter);

} // namespace platform
