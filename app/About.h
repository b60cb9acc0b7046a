#pragma once

#include <QDialog>

class QLabel;
class QTimer;

// The about window: a picture, the version, credits that scroll upward and
// two links. A press of any mouse button anywhere closes it.
class TAbout : public QDialog {
    Q_OBJECT
public:
    explicit TAbout(QWidget* parent = nullptr);

    QString versionText() const;
    bool creditsScrolling() const;
    // The two link labels.
    QLabel* homepageLink() const { return m_homepage; }
    QLabel* mailLink() const { return m_mail; }

    static constexpr const char* kVersionText = "Version 0.1.10";

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void scrollCredits();

    QLabel* m_version;
    QWidget* m_creditsPanel;
    QLabel* m_credits;
    QTimer* m_scrollTimer;
    QLabel* m_homepage;
    QLabel* m_mail;
};

// Centres a window of that size on the primary screen: each coordinate is
// the halved difference with the fraction dropped.
QPoint centredOnScreen(QSize windowSize);
