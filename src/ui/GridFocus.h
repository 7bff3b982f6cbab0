// Keeps the keyboard with the map grid: when a map opens and after a click on
// a button or view around the grid (the panel's buttons, the tool palette, the
// overview), the grid takes the focus back, so its keys (the tools' letters,
// the arrows) work at once. A box that takes typed text keeps the focus it was
// clicked for.
#pragma once

#include <QObject>

class DrawGrid;
class QWidget;

class GridFocus : public QObject {
    Q_OBJECT

public:
    explicit GridFocus(DrawGrid &grid);

    // The grid takes the focus after a click on the widget or any widget in it.
    void returnAfterClicks(QWidget &widget);
    // The grid takes the focus now, when it is shown and the window active.
    void take();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DrawGrid &m_grid;
};
