// Driving the windows as a user does, for the window tests.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>

// Chooses a list item as the user does, which runs the list's handler.
inline void chooseItem(QComboBox *box, int index)
{
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

// A move of the pointer to a point of a widget with buttons held (QTest's
// moves hold none).
inline void moveHolding(QWidget *widget, QPointF point, Qt::MouseButtons held)
{
    QMouseEvent event(QEvent::MouseMove, point, widget->mapToGlobal(point), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
