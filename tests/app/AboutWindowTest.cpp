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
    // On the link texts: the home page link is aligned left, the mail link right.
    const QRect home = about.homepageLink()->geometry();
    const QRect mail = about.mailLink()->geometry();
    for (const QPoint at :
         {QPoint(home.left() + 12, home.center().y()), QPoint(mail.right() - 12, mail.center().y())}) {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            about.show();
            ASSERT_TRUE(about.isVisible());
            pressAt(&about, at, button);
            EXPECT_FALSE(about.isVisible()) << at.x() << ", " << at.y();
        }
    }
    about.show();
    pressAt(&about, {5, 5}, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}

} // namespace
