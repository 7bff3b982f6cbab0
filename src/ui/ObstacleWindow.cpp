// The obstacle window.
#include "ui/ObstacleWindow.h"

#include "obstacles/ObstacleCatalogue.h"
#include "obstacles/ObstacleView.h"

#include <QCloseEvent>
#include <QPainter>

TForm2::TForm2(const ObstacleCatalogue &catalogue, const ObstacleView &view, ObstacleCaptionTexts texts,
               QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint)
    , m_catalogue(catalogue)
    , m_view(view)
    , m_texts(std::move(texts))
{
    setObjectName(QStringLiteral("Form2"));
    setFixedSize(ClientWidth, ClientHeight);
    move(289, 152);
    // Where the picture is smaller than the window, the window's own colour shows.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    QFont designFont(QStringLiteral("MS Sans Serif"));
    designFont.setPixelSize(11);
    setFont(designFont);
}

void TForm2::viewChanged(ObstacleChoice::Action action)
{
    if (action == ObstacleChoice::Action::NoBattlefield)
        setWindowTitle(m_texts.noobstacles);
    else if (!isVisible())
        show();
    repaint();
}

void TForm2::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_catalogue.picture());
    const ObstacleView view = m_view;
    // Without a battlefield the caption stays as the choice set it.
    if (view.battlefield == NoBattlefield)
        return;
    setWindowTitle(obstacleCaption(m_texts, view));
    for (const std::uint8_t hex : m_catalogue.findObstacleHexes(view.battlefield, view.x, view.y))
        painter.fillRect(markRect(hex), Qt::black);
}

void TForm2::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}
