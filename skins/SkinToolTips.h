#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

class QWidget;

namespace skins {

// The application's tooltip hook of the skin engines. Tooltips appear
// kWakeUpDelayMs after the pointer rests, stay kShowTimeMs and are
// re-evaluated every kReshowDelayMs; these timings are set for the whole
// application when the first engine is created. The engine created last
// holds the hook: when a tooltip is about to show over it, the hook
// replaces the text with that engine's current tooltip text, which every
// mouse move sets. Other engines show the text they had when their tooltip
// appeared. GUI thread only.
class SkinToolTips : public QObject {
    Q_OBJECT
public:
    static constexpr int kWakeUpDelayMs = 2000;
    static constexpr int kShowTimeMs = 1000;
    static constexpr int kReshowDelayMs = 500;

    static void engineCreated(QWidget* engine);
    static void engineDestroyed(QWidget* engine);
    // An engine's mouse move set its tooltip text.
    static void textChanged(QWidget* engine, const QString& text, QPoint globalPosition);
    // The engine holding the hook, or null.
    static QWidget* holder();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SkinToolTips() = default;
    static SkinToolTips& instance();
    QWidget* m_holder = nullptr;
    QString m_shownText;
    bool m_installed = false;
};

} // namespace skins
