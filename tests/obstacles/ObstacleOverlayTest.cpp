// Tests of the obstacle window's caption and mark geometry.
#include "obstacles/ObstacleOverlay.h"

#include <gtest/gtest.h>

namespace {

TEST(MarkRectTest, HexesLieOnTheBattlefieldGrid)
{
    const struct {
        std::uint8_t hex;
        QRect mark;  // left, top, right, bottom; right and bottom exclusive
    } cases[] = {
        {1, QRect(QPoint(40, 5), QPoint(59, 19))},
        {16, QRect(QPoint(430, 5), QPoint(449, 19))},
        {17, QRect(QPoint(-1, 28), QPoint(18, 42))},
        {18, QRect(QPoint(25, 28), QPoint(44, 42))},
        {186, QRect(QPoint(430, 235), QPoint(449, 249))},
        {187, QRect(QPoint(-1, 258), QPoint(18, 272))},
    };
    for (const auto &c : cases)
        EXPECT_EQ(markRect(c.hex), c.mark) << "hex " << int(c.hex);
}

TEST(ObstacleCaptionTest, NamesTheBattlefieldAndPosition)
{
    ObstacleCaptionTexts texts{QStringLiteral("Obstacles"), QStringLiteral("There is no battlefield on a cell"),
                               QStringLiteral("Shore"), {}};
    texts.terrain[0] = QStringLiteral("Dirt");
    texts.terrain[8] = QStringLiteral("Water");
    const struct {
        ObstacleView view;
        const char *caption;
    } cases[] = {
        {{0, 0, 0}, "Obstacles. Dirt 0/0"},
        {{8, 143, 7}, "Obstacles. Water 143/7"},
        {{ShoreBattlefield, 12, 40}, "Obstacles. Shore 12/40"},
        {{NoBattlefield, 12, 40}, "There is no battlefield on a cell"},
        {{10, 1, 2}, "There is no battlefield on a cell"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(obstacleCaption(texts, c.view), QString::fromUtf8(c.caption)) << c.caption;
}

}  // namespace
