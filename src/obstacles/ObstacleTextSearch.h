// The on-demand lookup: one battlefield section's hexes found in the text of
// an "obstacle.ini" without parsing the rest of it.
#pragma once

#include "obstacles/ObstacleSection.h"

#include <QByteArrayView>

#include <cstdint>

// The hex list of section "battlefield.x/y" of the text, read as the
// in-memory index reads it: every header line of that name is found and its
// entries taken until the next header.
ObstacleHexList findHexesInText(QByteArrayView text, std::uint8_t battlefield, std::uint8_t x, std::uint8_t y);
