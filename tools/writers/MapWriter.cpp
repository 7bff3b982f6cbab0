// Map data assembly for fixtures, samples and seeds.
#include "writers/MapWriter.h"

#include "map/Gzip.h"
#include "writers/ByteWriter.h"

namespace {

constexpr qsizetype GzipHeaderSize = 10;
constexpr qsizetype GzipFlagOffset = 3;

// Enough opaque header for a map of side 1 to pass the minimum data length.
constexpr qsizetype PatternedHeaderLength = 1000;

}  // namespace

MapWriter MapWriter::patterned(std::uint32_t side, bool twoLevels)
{
    MapWriter writer;
    writer.side = side;
    writer.levelsByte = twoLevels ? 1 : 0;
    writer.firstField = "Pattern";
    writer.secondField = "Cells in a repeating pattern, for tests.";
    // Bytes below 0x5E never pair up to the marker constant; see trailingWithMarker.
    for (qsizetype i = 0; i < PatternedHeaderLength; ++i)
        writer.opaqueHeader.append(char((i * 7) % 0x5E));
    writer.layers.push_back(patternLayer(side, 0));
    if (twoLevels)
        writer.layers.push_back(patternLayer(side, 1));
    writer.trailingBytes = trailingWithMarker(QByteArray("trailing opaque bytes of the map"));
    return writer;
}

TerrainLayer MapWriter::patternLayer(std::uint32_t side, int level)
{
    TerrainLayer layer(side);
    for (std::uint32_t row = 0; row < side; ++row) {
        for (std::uint32_t column = 0; column < side; ++column) {
            const std::uint32_t k = row * 31 + column * 17 + std::uint32_t(level) * 5;
            TerrainCell &cell = layer.at(row, column);
            cell.tertype = std::uint8_t(k % 13);  // 10..12 are no known type
            cell.terconf = std::uint8_t(k % 24);
            cell.rivtype = std::uint8_t(k % 5);
            cell.rivconf = std::uint8_t(k % 13);
            cell.roadtype = std::uint8_t(k % 4);
            cell.roadconf = std::uint8_t(k % 17);
            cell.mirror = std::uint8_t(k % 9 == 0 ? 0xC0 | (k & 0x3F) : k & 0x3F);
        }
    }
    return layer;
}

QByteArray MapWriter::trailingWithMarker(const QByteArray &tail)
{
    ByteWriter out;
    // Small lead bytes, so no start inside the lead pairs up with the marker.
    out.zeros(MarkerLead).u32(MarkerFirst).u32(MarkerSecond).bytes(tail);
    return out.data();
}

void MapWriter::putMarker(QByteArray &bytes, qsizetype offset)
{
    ByteWriter pair;
    pair.u32(MarkerFirst).u32(MarkerSecond);
    bytes.replace(offset, pair.size(), pair.data());
}

qsizetype MapWriter::terrainOffset() const
{
    return 18 + firstField.size() + secondField.size() + opaqueHeader.size();
}

qsizetype MapWriter::terrainEnd() const
{
    qsizetype end = terrainOffset();
    for (const TerrainLayer &layer : layers)
        end += qsizetype(layer.byteCount());
    return end;
}

QByteArray MapWriter::data() const
{
    ByteWriter out;
    out.u32(version).u8(byte4).u32(side).u8(levelsByte);
    out.u32(std::uint32_t(firstField.size())).bytes(firstField);
    out.u32(std::uint32_t(secondField.size())).bytes(secondField);
    out.bytes(opaqueHeader);
    for (const TerrainLayer &layer : layers)
        out.bytes(QByteArray(reinterpret_cast<const char *>(layer.data()), qsizetype(layer.byteCount())));
    out.bytes(trailingBytes);
    return out.data();
}

QByteArray gzipWithHeaderText(QByteArrayView data, std::uint8_t flag, const QByteArray &text)
{
    QByteArray member = gzipMember(data);
    member[GzipFlagOffset] = char(flag);
    member.insert(GzipHeaderSize, text + '\0');
    return member;
}
