// What the obstacle window draws over the battlefield picture: its caption
// and the mark of each obstacle hex.
#pragma once

#include "obstacles/ObstacleView.h"

#include <QRect>
#include <QString>

#include <array>
#include <cstdint>

// The words of the obstacle window's caption, from the interface texts.
struct ObstacleCaptionTexts {
    QString bobstacles;                // first word
    QString noobstacles;               // caption without a battlefield
    QString shore;                     // name of battlefield 9
    std::array<QString, 9> terrain;    // names of battlefields 0..8
};

// The name of a battlefield: shore for 9, the terrain name for 0..8, and for
// none (or a code that names none) the text noobstacles.
QString battlefieldName(const ObstacleCaptionTexts &texts, std::uint8_t battlefield);

// "Obstacles. Shore 12/40": the text bobstacles, ". ", the battlefield's name
// (shore for 9, the terrain name for 0..8), " ", x "/" y. A view without a
// battlefield (or with a code that names none) gives the text noobstacles.
QString obstacleCaption(const ObstacleCaptionTexts &texts, const ObstacleView &view);

// The solid mark of hex h of the battlefield grid (17 hexes a row; rows 23
// pixels apart; hexes 26 pixels apart; odd rows set 15 pixels to the left):
// 20 x 15 pixels around the hex centre, in window coordinates.
QRect markRect(std::uint8_t hex);
