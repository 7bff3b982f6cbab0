// Builds the map data of a Valdris map field by field, for tests, sample maps
// and fuzz seeds, including malformed ones (a marker in the wrong place or none,
// lengths that lie, layers that do not match the side).
#pragma once

#include "map/TerrainLayer.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <vector>

struct MapWriter {
    // The marker pair the writer uses: two values summing to the marker constant.
    static constexpr std::uint32_t MarkerFirst = 0x4D3C2B1A;
    static constexpr std::uint32_t MarkerSecond = 0x9DBBC4B3u - MarkerFirst;
    // Opaque bytes behind the terrain and in front of the marker pair.
    static constexpr qsizetype MarkerLead = 8;

    std::uint32_t version = 28;
    std::uint8_t byte4 = 1;
    std::uint32_t side = 0;
    std::uint8_t levelsByte = 0;  // 1: surface and underground
    QByteArray firstField;
    QByteArray secondField;
    QByteArray opaqueHeader;           // between the second field and the terrain
    std::vector<TerrainLayer> layers;  // written as they are, whatever side says
    QByteArray trailingBytes;          // everything behind the layers, marker included

    // A well-formed map of the given side with patterned cells (including a
    // terrain type the editor does not know and mirror bits 6 and 7), a header
    // long enough for any side, and the marker 8 bytes behind the terrain.
    static MapWriter patterned(std::uint32_t side, bool twoLevels);

    // The cells of patterned(): varied, and different for each level.
    static TerrainLayer patternLayer(std::uint32_t side, int level);

    // MarkerLead bytes, the marker pair, then tail.
    static QByteArray trailingWithMarker(const QByteArray &tail);

    // Writes the marker pair into bytes at offset (which must leave room for it).
    static void putMarker(QByteArray &bytes, qsizetype offset);

    // Offset of the first cell: 18 + both fields + the opaque header.
    qsizetype terrainOffset() const;
    // Offset just behind the last layer.
    qsizetype terrainEnd() const;

    QByteArray data() const;
};

// A gzip member of data whose header carries one optional field: flag 0x08 with
// a file name, or 0x10 with a comment; text is written zero-terminated.
QByteArray gzipWithHeaderText(QByteArrayView data, std::uint8_t flag, const QByteArray &text);
