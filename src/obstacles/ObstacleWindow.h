// The obstacle window: the battlefield picture with a black mark on every
// obstacle hex of the battlefield and position in ObstacleView.
#pragma once

#include <QWidget>

class ObstacleCatalogue;
struct InterfaceTexts;
struct ObstacleView;

class TForm2 : public QWidget {
    Q_OBJECT
public:
    // The window reads the catalogue, the view and the texts on every paint
    // and never changes them; they belong to the main window and outlive it.
    // Created hidden, with an empty caption.
    TForm2(const ObstacleCatalogue &catalogue, const ObstacleView &view, const InterfaceTexts &texts,
           QWidget *parent = nullptr);

    static constexpr int ClientWidth = 451;
    static constexpr int ClientHeight = 256;

protected:
    // FormPaint: picture, caption and marks, all recomputed.
    void paintEvent(QPaintEvent *event) override;
    // FormClose: the window is only hidden, never closed or destroyed.
    void closeEvent(QCloseEvent *event) override;

private:
    const ObstacleCatalogue &m_catalogue;
    const ObstacleView &m_view;
    const InterfaceTexts &m_texts;
};
