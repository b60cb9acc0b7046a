#include "About.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {
constexpr int kScrollIntervalMs = 40;

const char* kCredits = "Drovan\n"
                       "\n"
                       "(c) 2026\n"
                       "\n"
                       "Written by the Drovan developers\n"
                       "\n"
                       "Thanks to the makers of the\n"
                       "Xaudio engine\n"
                       "\n"
                       "and to all our beta testers";
} // namespace

QPoint centredOnScreen(QSize windowSize) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen != nullptr ? screen->size() : QSize(1024, 768);
    return QPoint((screenSize.width() - windowSize.width()) / 2, (screenSize.height() - windowSize.height()) / 2);
}

TAbout::TAbout(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    setObjectName(QStringLiteral("TAbout"));
    setFixedSize(397, 323);
    move(centredOnScreen(size()));

    m_version = new QLabel(QString::fromLatin1(kVersionText), this);
    m_version->setGeometry(24, 92, 349, 20);
    m_version->setStyleSheet(QStringLiteral("color: #9fb6c8; font-size: 9pt;"));

    m_creditsPanel = new QWidget(this);
    m_creditsPanel->setGeometry(24, 124, 349, 140);
    m_credits = new QLabel(QString::fromLatin1(kCredits), m_creditsPanel);
    m_credits->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_credits->setStyleSheet(QStringLiteral("color: #e8eef2; font-size: 9pt;"));
    m_credits->setGeometry(0, m_creditsPanel->height(), m_creditsPanel->width(), 180);

    // The links are shown, not followed: the whole window, links included,
    // is one surface that closes the window at a press.
    m_homepage = new QLabel(QStringLiteral("<a style='color:#ff9d2e' href='https://drovan.invalid/'>drovan "
                                           "home page</a>"),
                            this);
    m_homepage->setGeometry(24, 282, 170, 20);
    m_mail = new QLabel(
        QStringLiteral("<a style='color:#ff9d2e' href='mailto:team@drovan.invalid'>write to the team</a>"), this);
    m_mail->setGeometry(220, 282, 153, 20);
    m_mail->setAlignment(Qt::AlignRight);
    for (QLabel* link : {m_homepage, m_mail}) {
        link->setTextInteractionFlags(Qt::NoTextInteraction);
        link->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    }

    m_scrollTimer = new QTimer(this);
    m_scrollTimer->setInterval(kScrollIntervalMs);
    connect(m_scrollTimer, &QTimer::timeout, this, &TAbout::scrollCredits);
}

QString TAbout::versionText() const {
    return m_version->text();
}

bool TAbout::creditsScrolling() const {
    return m_scrollTimer->isActive();
}

void TAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_credits->move(0, m_creditsPanel->height());
    m_scrollTimer->start();
}

void TAbout::hideEvent(QHideEvent* event) {
    m_scrollTimer->stop();
    QDialog::hideEvent(event);
}

void TAbout::mousePressEvent(QMouseEvent* event) {
    event->accept();
    accept();
}

void TAbout::scrollCredits() {
    int top = m_credits->y() - 1;
    if (top + m_credits->height() < 0)
        top = m_creditsPanel->height();
    m_credits->move(0, top);
}

void TAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(0x26, 0x2d, 0x36));
    background.setColorAt(1, QColor(0x0e, 0x11, 0x15));
    painter.fillRect(rect(), background);
    painter.setPen(QColor(0xff, 0x9d, 0x2e));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont title(QStringLiteral("Arial"), 30, QFont::Bold);
    painter.setFont(title);
    painter.drawText(QRect(0, 24, width(), 60), Qt::AlignCenter, QStringLiteral("DROVAN"));
}
