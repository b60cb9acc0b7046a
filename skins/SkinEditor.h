#pragma once

#include <QDialog>

// The skin editor, shown modally from the decks' menu.
class TMySkinEditor : public QDialog {
    Q_OBJECT
public:
    explicit TMySkinEditor(QWidget* parent = nullptr);
};
