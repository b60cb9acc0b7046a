#include "SkinEditor.h"

TMySkinEditor::TMySkinEditor(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TMySkinEditor"));
    setWindowTitle(QStringLiteral("Skin Editor"));
    setModal(true);
    resize(520, 400);
}
