// The on-demand lookup: one battlefield section's hexes found in the text of
// an "obstacle.ini" without parsing the rest of it. The text may come whole
// or in pieces of whole lines, as it is read from disk.
#pragma once

#include "obstacles/ObstacleSection.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

class ObstacleSectionSearch {
public:
    ObstacleSectionSearch(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y);

    // Reads the next piece of the text, which begins at a line start and ends
    // at a line end (or the end of the text). Every header line of the section
    // is found and its entries are taken until the next header, also when they
    // run on into the next piece.
    void feed(QByteArrayView piece);

    // The list read so far.
    ObstacleHexList hexes() const { return m_section.hexes(); }

private:
    QByteArray m_name;
    ObstacleSection m_section;
    bool m_atTextStart = true;  // a byte order mark may come first
    bool m_inSection = false;   // the last piece ended inside the section's body
};

// The hex list of section "battlefield.x/y" of a whole text, read as the
// in-memory index reads it.
ObstacleHexList findHexesInText(QByteArrayView text, std::uint8_t battlefield, std::uint8_t x, std::uint8_t y);

// Pieces of a file small enough to stay in the processor's cache.
inline constexpr qsizetype ObstacleFilePieceSize = 512 * 1024;

// The same list read from a device piece by piece, so that a large file never
// has to be held whole; nothing when reading fails, when the device holds more
// than maxBytes (a device without end never stops giving bytes), or when a
// line does not fit in memory.
std::optional<ObstacleHexList> findHexesInDevice(QIODevice &device, std::uint8_t battlefield, std::uint8_t x,
                                                 std::uint8_t y, qsizetype pieceSize = ObstacleFilePieceSize,
                                                 qint64 maxBytes = std::numeric_limits<qint64>::max());
