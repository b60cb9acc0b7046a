#include "About.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

// A press reaches the window the way the toolkit routes it: to the widget
// under the pointer, and from there up to its parents unless one takes it.
void pressAt(QWidget* window, QPoint at, Qt::MouseButton button) {
    QWidget* target = window->childAt(at);
    if (target == nullptr)
        target = window;
    const QPoint local = target->mapFrom(window, at);
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(local), QPointF(window->mapToGlobal(at)), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

TEST(AboutWindow, PressOnEitherLinkClosesItLikeAnyOtherSpot) {
    TAbout about;
    for (QLabel* link : {about.homepageLink(), about.mailLink()}) {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            about.show();
            ASSERT_TRUE(about.isVisible());
            pressAt(&about, link->geometry().center(), button);
            EXPECT_FALSE(about.isVisible()) << link->text().toStdString();
        }
    }
    about.show();
    pressAt(&about, {5, 5}, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}

} // namespace
