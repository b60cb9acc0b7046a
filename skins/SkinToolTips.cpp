#include "SkinToolTips.h"

#include <QApplication>
#include <QHelpEvent>
#include <QProxyStyle>
#include <QStyle>
#include <QToolTip>
#include <QWidget>

namespace skins {
namespace {

// The toolkit takes its tooltip delays from the style; this one passes
// everything else to the style the application had.
class ToolTipTimingStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_ToolTip_WakeUpDelay)
            return SkinToolTips::kWakeUpDelayMs;
        if (hint == SH_ToolTip_FallAsleepDelay)
            return SkinToolTips::kReshowDelayMs;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

SkinToolTips& SkinToolTips::instance() {
    static SkinToolTips hook;
    return hook;
}

QWidget* SkinToolTips::holder() {
    return instance().m_holder;
}

void SkinToolTips::engineCreated(QWidget* engine) {
    SkinToolTips& hook = instance();
    hook.m_holder = engine;
    if (hook.m_installed || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    hook.m_installed = true;
    if (dynamic_cast<ToolTipTimingStyle*>(QApplication::style()) == nullptr)
        QApplication::setStyle(new ToolTipTimingStyle(QApplication::style()->name()));
    QCoreApplication::instance()->installEventFilter(&hook);
}

void SkinToolTips::engineDestroyed(QWidget* engine) {
    SkinToolTips& hook = instance();
    if (hook.m_holder == engine)
        hook.m_holder = nullptr;
}

void SkinToolTips::textChanged(QWidget* engine, const QString& text, QPoint globalPosition) {
    // Engines without the hook show what their control had when the
    // tooltip appeared.
    engine->setToolTip(text);
    SkinToolTips& hook = instance();
    if (engine != hook.m_holder || !QToolTip::isVisible() || text == hook.m_shownText)
        return;
    hook.m_shownText = text;
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(globalPosition, text, engine, QRect(), kShowTimeMs);
}

bool SkinToolTips::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = widget->toolTip();
    if (text.isEmpty()) {
        if (widget == m_holder) {
            QToolTip::hideText();
            return true;
        }
        return false; // controls that make their own tooltips
    }
    if (widget == m_holder)
        m_shownText = text;
    // No trigger rectangle: a changed text shows without leaving the control.
    QToolTip::showText(help->globalPos(), text, widget, QRect(), kShowTimeMs);
    return true;
}

} // namespace skins
