#include "AboutSkin.h"

TAboutSkin::TAboutSkin(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    setObjectName(QStringLiteral("TAboutSkin"));
    setFixedSize(300, 200);
}
