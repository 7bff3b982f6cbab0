// Caption and mark geometry of the obstacle window.
#include "obstacles/ObstacleOverlay.h"

QString battlefieldName(const ObstacleCaptionTexts &texts, std::uint8_t battlefield)
{
    if (battlefield > ShoreBattlefield)
        return texts.noobstacles;
    return battlefield == ShoreBattlefield ? texts.shore : texts.terrain[battlefield];
}

QString obstacleCaption(const ObstacleCaptionTexts &texts, const ObstacleView &view)
{
    if (view.battlefield > ShoreBattlefield)
        return texts.noobstacles;
    return texts.bobstacles + QStringLiteral(". ") + battlefieldName(texts, view.battlefield) + u' '
        + QString::number(view.x) + u'/' + QString::number(view.y);
}

QRect markRect(std::uint8_t hex)
{
    const int row = hex / 17;
    const int column = hex % 17;
    const int centreX = 26 * column + (row % 2 == 0 ? 24 : 9);
    return QRect(centreX - 10, 23 * row + 5, 20, 15);
}
