// Writers of obstacle catalogues: battlefield sections as INI text, and the
// sample catalogue (its picture and its lists) that ships as demonstration
// data. The sample's hex lists are made up by a fixed rule of our own; they
// are not the obstacles of any real battle.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace obstaclewriter {

// "[b.x/y]" followed by "1=h1", "2=h2", ... one line each.
QByteArray sectionText(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y, const std::vector<std::uint8_t> &hexes);

// The sample list of a battlefield and position: the SplitMix64 sequence r0,
// r1, ... seeded with battlefield * 65536 + x * 256 + y gives the count
// n = r0 mod 29 and the hexes 1 + (ri mod 186), i >= 1, in draw order,
// repeats skipped, until n are drawn.
std::vector<std::uint8_t> sampleHexes(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y);

// Battlefield codes 0..9 and positions 0..143 of the sample catalogue.
inline constexpr int SampleBattlefieldCount = 10;
inline constexpr int SamplePositionCount = 144;

// The sample "obstacle.ini": a section for every battlefield 0..9 and every
// position 0..143 x 0..143, battlefield by battlefield, row of x by row of x.
QByteArray sampleCatalogueText();

// The sample "obstacle.bmp": 451 x 256 pixels of open ground with the outline
// of every hex of the battlefield grid centred where the window puts its marks.
QImage sampleBattlefieldPicture();

// Writes "obstacle.bmp" and "obstacle.ini" of the sample into a folder
// (created when missing). Returns an empty string, or the reason it failed.
QString writeSampleCatalogue(const QString &folder);

}  // namespace obstaclewriter
