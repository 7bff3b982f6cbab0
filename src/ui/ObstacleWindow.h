// The obstacle window: the battlefield picture with a black mark on every
// obstacle hex of the battlefield and position in ObstacleView.
#pragma once

#include "obstacles/BattlefieldChoice.h"
#include "obstacles/ObstacleOverlay.h"

#include <QWidget>

class ObstacleCatalogue;
struct ObstacleView;

class TForm2 : public QWidget {
    Q_OBJECT
public:
    // The window reads the catalogue and the view on every paint and never
    // changes them; their owner outlives the window. Created hidden, with an
    // empty caption.
    TForm2(const ObstacleCatalogue &catalogue, const ObstacleView &view, ObstacleCaptionTexts texts,
           QWidget *parent = nullptr);

    static constexpr int ClientWidth = 451;
    static constexpr int ClientHeight = 256;

public Q_SLOTS:
    // The view changed: a battlefield shows the window (when hidden); none
    // only says so in the caption. Either way the window repaints at once.
    void viewChanged(ObstacleChoice::Action action);

protected:
    // FormPaint: picture, caption and marks, all recomputed.
    void paintEvent(QPaintEvent *event) override;
    // FormClose: the window is only hidden, never closed or destroyed.
    void closeEvent(QCloseEvent *event) override;

private:
    const ObstacleCatalogue &m_catalogue;
    const ObstacleView &m_view;
    const ObstacleCaptionTexts m_texts;
};
