// Building journal records from the document, storing them as bytes and back,
// and replaying them.
#include "journal/JournalRecord.h"

#include "journal/JournalBytes.h"
#include "journal/JournalReasons.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <unordered_map>

namespace {

// A record's frame around its content: kind and content length in front, the
// CRC-32 of kind, length and content behind.
constexpr qsizetype FrameFront = 1 + 4;
constexpr qsizetype FrameBack = 4;

// Cells records in front of their compressed part: level, cell count, run count.
constexpr qsizetype CellsFront = 1 + 4 + 4;
// A run is a row, its first column and its length, 16 bits each.
constexpr qsizetype RunBytes = 6;
// Cells in order: the move from the cell before, across and down, 16 bits each.
constexpr std::size_t MoveBytes = 4;
// No record holds more cells than a level of the largest map; a step's
// cells in order, written again by the rules, hold at most a few times that.
constexpr std::uint64_t MaximumRecordCells = std::uint64_t(MapDocument::LargestSide) * MapDocument::LargestSide;
constexpr std::uint64_t MaximumInOrderCells = 4 * MaximumRecordCells;
// Fast compression: a step is written on the writer thread within a fraction
// of a second even for a whole level, and cells a step writes alike (a fill)
// compress a thousandfold at any level.
constexpr int CompressionLevel = Z_BEST_SPEED;

std::uint32_t positionKey(const JournalCell &cell)
{
    return std::uint32_t(cell.row) << 16 | cell.column;
}

bool inKeyOrder(const JournalCell &a, const JournalCell &b)
{
    return positionKey(a) < positionKey(b);
}

// Sorts cells by row, then column. Large steps (a fill walks its region depth
// first) take two counting passes of 16 bits each, columns first, so that the
// cost grows with the cells and not with their logarithm.
void sortByPosition(std::vector<JournalCell> &cells)
{
    if (std::is_sorted(cells.begin(), cells.end(), inKeyOrder))
        return;
    constexpr std::size_t RadixFrom = 4096;
    if (cells.size() < RadixFrom) {
        std::sort(cells.begin(), cells.end(), inKeyOrder);
        return;
    }
    std::vector<JournalCell> scratch(cells.size());
    std::vector<std::size_t> starts(0x10000 + 1);
    for (const int shift : {0, 16}) {
        std::fill(starts.begin(), starts.end(), 0);
        for (const JournalCell &cell : cells)
            ++starts[((positionKey(cell) >> shift) & 0xFFFF) + 1];
        for (std::size_t digit = 1; digit < starts.size(); ++digit)
            starts[digit] += starts[digit - 1];
        for (const JournalCell &cell : cells)
            scratch[starts[(positionKey(cell) >> shift) & 0xFFFF]++] = cell;
        cells.swap(scratch);
    }
}

bool levelExists(const MapDocument &document, int level)
{
    return level == 0 || (level == 1 && document.hasUnderground);
}

void addCell(JournalRecord &record, const TerrainLayer &layer, std::uint32_t column, std::uint32_t row)
{
    if (column < layer.side() && row < layer.side())
        record.cells.push_back({std::uint16_t(column), std::uint16_t(row), layer.at(row, column)});
}

JournalRecord cellsRecord(int level)
{
    JournalRecord record;
    record.kind = JournalRecord::Kind::Cells;
    record.level = std::uint8_t(level);
    return record;
}

// The cells' content before compression: the runs of neighbouring cells of a
// row, then each of the seven bytes of every cell as a plane of its own, as
// alike cells then give long runs of one byte.
QByteArray cellsBody(const std::vector<JournalCell> &sorted, std::uint32_t &runCount)
{
    QByteArray runs;
    runCount = 0;
    std::size_t start = 0;
    while (start < sorted.size()) {
        std::size_t end = start + 1;
        while (end < sorted.size() && sorted[end].row == sorted[start].row
               && sorted[end].column == sorted[start].column + (end - start) && end - start < 0xFFFF)
            ++end;
        appendLittleEndian(runs, sorted[start].row);
        appendLittleEndian(runs, sorted[start].column);
        appendLittleEndian(runs, std::uint16_t(end - start));
        ++runCount;
        start = end;
    }
    QByteArray body = runs;
    const qsizetype planesAt = body.size();
    body.resize(planesAt + qsizetype(sorted.size() * sizeof(TerrainCell)));
    char *const planes = body.data() + planesAt;
    const std::size_t count = sorted.size();
    for (std::size_t i = 0; i < count; ++i) {
        const auto *bytes = reinterpret_cast<const char *>(&sorted[i].value);
        for (std::size_t field = 0; field < sizeof(TerrainCell); ++field)
            planes[field * count + i] = bytes[field];
    }
    return body;
}

// A step's cells in the order written: four planes of the moves from one
// cell to the next (column, then row, as 16-bit differences from the cell
// before, the first from column 0 of row 0, low bytes then high bytes), then
// the seven planes of the values. A fill or a stroke moves to a neighbour
// almost every time, so the moves compress as well as runs of a row would.
QByteArray orderedCellsBody(const std::vector<JournalCell> &cells)
{
    const std::size_t count = cells.size();
    QByteArray body(qsizetype(count * (MoveBytes + sizeof(TerrainCell))), Qt::Uninitialized);
    char *const moves = body.data();
    char *const planes = moves + count * MoveBytes;
    std::uint16_t column = 0;
    std::uint16_t row = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t across = std::uint16_t(cells[i].column - column);
        const std::uint16_t down = std::uint16_t(cells[i].row - row);
        moves[i] = char(across & 0xFF);
        moves[count + i] = char(across >> 8);
        moves[2 * count + i] = char(down & 0xFF);
        moves[3 * count + i] = char(down >> 8);
        column = cells[i].column;
        row = cells[i].row;
        const auto *bytes = reinterpret_cast<const char *>(&cells[i].value);
        for (std::size_t field = 0; field < sizeof(TerrainCell); ++field)
            planes[field * count + i] = bytes[field];
    }
    return body;
}

QByteArray cellsContent(const JournalRecord &record)
{
    std::vector<JournalCell> sorted;
    if (record.kind == JournalRecord::Kind::Cells) {
        sorted = record.cells;
        sortByPosition(sorted);
        sorted.erase(std::unique(sorted.begin(), sorted.end(),
                                 [](const JournalCell &a, const JournalCell &b) {
                                     return positionKey(a) == positionKey(b);
                                 }),
                     sorted.end());
    }
    // Cells in order are stored as they come, runs of a row's neighbours
    // still found wherever a step wrote them so.
    const bool inOrder = record.kind == JournalRecord::Kind::CellsInOrder;
    const std::vector<JournalCell> &stored = inOrder ? record.cells : sorted;
    std::uint32_t runCount = 0;
    const QByteArray body = inOrder ? orderedCellsBody(stored) : cellsBody(stored, runCount);

    QByteArray content;
    appendLittleEndian(content, record.level);
    appendLittleEndian(content, std::uint32_t(stored.size()));
    appendLittleEndian(content, runCount);
    uLongf packedLength = compressBound(uLong(body.size()));
    content.resize(CellsFront + qsizetype(packedLength));
    compress2(reinterpret_cast<Bytef *>(content.data() + CellsFront), &packedLength,
              reinterpret_cast<const Bytef *>(body.constData()), uLong(body.size()), CompressionLevel);
    content.resize(CellsFront + qsizetype(packedLength));
    return content;
}

std::uint32_t frameChecksum(QByteArrayView kindLengthAndContent)
{
    return std::uint32_t(crc32_z(0, reinterpret_cast<const Bytef *>(kindLengthAndContent.data()),
                                 z_size_t(kindLengthAndContent.size())));
}

JournalRecordRead refusal(const Reason &why)
{
    JournalRecordRead read;
    read.why = why;
    read.reason = why.english();
    return read;
}

// The cells of a record's content, or why the content is not a cells record
// of its kind (cells in order may come in any order, and more than once).
Reason decodeCells(QByteArrayView content, JournalRecord::Kind kind, JournalRecord &record)
{
    const bool inOrder = kind == JournalRecord::Kind::CellsInOrder;
    JournalBytes reader(content);
    const auto level = reader.read<std::uint8_t>();
    const auto cellCount = reader.read<std::uint32_t>();
    const auto runCount = reader.read<std::uint32_t>();
    if (!level || !cellCount || !runCount)
        return reasons::JournalCellsShort;
    if (*level > 1)
        return {reasons::JournalCellsLevel, {*level}};
    if ((!inOrder && *cellCount > MaximumRecordCells) || *cellCount > MaximumInOrderCells || *runCount > *cellCount
        || (inOrder && *runCount != 0))
        return {reasons::JournalCellsClaim, {*cellCount, *runCount}};
    const std::uint64_t bodyLength = (inOrder ? std::uint64_t(*cellCount) * MoveBytes : std::uint64_t(*runCount) * RunBytes)
        + std::uint64_t(*cellCount) * sizeof(TerrainCell);
    const QByteArrayView packed = content.sliced(reader.position());
    // Deflate shrinks by at most about 1032 to 1: a record claiming more is
    // refused before its memory is taken.
    if (bodyLength > std::uint64_t(packed.size()) * 1040 + 64)
        return reasons::JournalCellsBytes;
    QByteArray body(qsizetype(bodyLength), Qt::Uninitialized);
    uLongf unpackedLength = uLongf(bodyLength);
    if (uncompress(reinterpret_cast<Bytef *>(body.data()), &unpackedLength,
                   reinterpret_cast<const Bytef *>(packed.data()), uLong(packed.size())) != Z_OK
        || unpackedLength != bodyLength)
        return reasons::JournalInflate;

    record = cellsRecord(*level);
    record.kind = kind;
    record.cells.resize(*cellCount);
    if (inOrder) {
        const std::size_t count = *cellCount;
        const char *const moves = body.constData();
        const char *const planes = moves + count * MoveBytes;
        std::uint16_t column = 0;
        std::uint16_t row = 0;
        for (std::size_t i = 0; i < count; ++i) {
            column = std::uint16_t(column + (std::uint8_t(moves[i]) | std::uint8_t(moves[count + i]) << 8));
            row = std::uint16_t(row + (std::uint8_t(moves[2 * count + i]) | std::uint8_t(moves[3 * count + i]) << 8));
            JournalCell &cell = record.cells[i];
            cell.column = column;
            cell.row = row;
            auto *bytes = reinterpret_cast<char *>(&cell.value);
            for (std::size_t field = 0; field < sizeof(TerrainCell); ++field)
                bytes[field] = planes[field * count + i];
        }
        return {};
    }
    JournalBytes runs(QByteArrayView(body).first(qsizetype(*runCount) * RunBytes));
    const char *const planes = body.constData() + qsizetype(*runCount) * RunBytes;
    std::size_t filled = 0;
    std::int64_t nextKey = 0;  // runs come in position order and do not overlap
    for (std::uint32_t run = 0; run < *runCount; ++run) {
        const std::uint16_t row = *runs.read<std::uint16_t>();
        const std::uint16_t column = *runs.read<std::uint16_t>();
        const std::uint16_t length = *runs.read<std::uint16_t>();
        const std::int64_t key = std::int64_t(row) << 16 | column;
        if (length == 0 || key < nextKey || column + length > 0x10000 || filled + length > *cellCount)
            return reasons::JournalRunsOrder;
        for (std::uint16_t i = 0; i < length; ++i)
            record.cells[filled + i] = {std::uint16_t(column + i), row, {}};
        filled += length;
        nextKey = key + length;
    }
    if (filled != *cellCount)
        return reasons::JournalRunsSum;
    for (std::size_t i = 0; i < filled; ++i) {
        auto *bytes = reinterpret_cast<char *>(&record.cells[i].value);
        for (std::size_t field = 0; field < sizeof(TerrainCell); ++field)
            bytes[field] = planes[field * filled + i];
    }
    return {};
}

}  // namespace

JournalRecord journalCellsAt(const MapDocument &document, int level, std::span<const CellPosition> positions)
{
    JournalRecord record = cellsRecord(level);
    if (!levelExists(document, level))
        return record;
    const TerrainLayer &layer = document.layer(level);
    record.cells.reserve(positions.size());
    for (const CellPosition &position : positions)
        addCell(record, layer, position.column, position.row);
    return record;
}

std::vector<JournalRecord> journalCellsOfUndoRecords(const MapDocument &document, const UndoList &undoList,
                                                     std::size_t first, std::size_t end)
{
    std::array<JournalRecord, 2> byLevel = {cellsRecord(0), cellsRecord(1)};
    end = std::min(end, undoList.count());
    for (std::size_t i = first; i < end; ++i) {
        const UndoRecord &undo = undoList.at(i);
        if (!levelExists(document, undo.level))
            continue;
        JournalRecord &record = byLevel[undo.level];
        if (record.cells.empty())
            record.cells.reserve(end - i);
        addCell(record, document.layer(undo.level), undo.column, undo.row);
    }
    std::vector<JournalRecord> records;
    for (JournalRecord &record : byLevel)
        if (!record.cells.empty())
            records.push_back(std::move(record));
    return records;
}

JournalRecord journalCellsInRectangle(const MapDocument &document, int level, const QRect &cells)
{
    JournalRecord record = cellsRecord(level);
    if (!levelExists(document, level))
        return record;
    const TerrainLayer &layer = document.layer(level);
    const QRect inside = cells.intersected(QRect(0, 0, int(layer.side()), int(layer.side())));
    if (inside.isEmpty())
        return record;
    record.cells.reserve(std::size_t(inside.width()) * std::size_t(inside.height()));
    for (int row = inside.top(); row <= inside.bottom(); ++row)
        for (int column = inside.left(); column <= inside.right(); ++column)
            addCell(record, layer, std::uint32_t(column), std::uint32_t(row));
    return record;
}

JournalRecord journalSizeChange(std::uint32_t side)
{
    JournalRecord record;
    record.kind = JournalRecord::Kind::Size;
    record.side = side;
    return record;
}

JournalRecord journalStepOfUndoRecords(const MapDocument &document, const UndoList &undoList, std::size_t first,
                                       std::size_t end)
{
    end = std::min(end, undoList.count());
    first = std::min(first, end);
    // What a record wrote is what the cell holds now, unless a later record
    // of the step wrote the cell again: then it is what that record found.
    // Cells written more than once are found with a bit per cell of the
    // rectangle the records of each level cover, and only they are looked up
    // by position.
    struct Area {
        std::uint32_t left = 0xFFFF, top = 0xFFFF, right = 0, bottom = 0;
        std::size_t firstBit = 0;
        bool empty() const { return left > right; }
        std::size_t width() const { return empty() ? 0 : right - left + 1; }
        std::size_t cells() const { return empty() ? 0 : width() * (bottom - top + 1); }
    };
    std::array<Area, 2> covered;
    const auto counts = [&](const UndoRecord &undo) {
        return undo.level < 2 && levelExists(document, undo.level) && undo.column < document.mapSize
            && undo.row < document.mapSize;
    };
    for (std::size_t i = first; i < end; ++i) {
        const UndoRecord &undo = undoList.at(i);
        if (!counts(undo))
            continue;
        Area &area = covered[undo.level];
        area.left = std::min<std::uint32_t>(area.left, undo.column);
        area.right = std::max<std::uint32_t>(area.right, undo.column);
        area.top = std::min<std::uint32_t>(area.top, undo.row);
        area.bottom = std::max<std::uint32_t>(area.bottom, undo.row);
    }
    covered[1].firstBit = covered[0].cells();
    const auto bitOf = [&](const UndoRecord &undo) {
        const Area &area = covered[undo.level];
        return area.firstBit + std::size_t(undo.row - area.top) * area.width() + (undo.column - area.left);
    };
    std::vector<bool> seen(covered[0].cells() + covered[1].cells());
    std::vector<bool> again(seen.size());
    bool repeated = false;
    for (std::size_t i = first; i < end; ++i) {
        const UndoRecord &undo = undoList.at(i);
        if (!counts(undo))
            continue;
        const std::size_t bit = bitOf(undo);
        if (seen[bit]) {
            again[bit] = true;
            repeated = true;
        }
        seen[bit] = true;
    }

    std::vector<JournalRecord> parts;
    std::unordered_map<std::uint64_t, TerrainCell> foundByLater;
    for (std::size_t i = end; i > first;) {
        const UndoRecord &undo = undoList.at(--i);
        if (!counts(undo))
            continue;
        if (parts.empty() || parts.back().level != undo.level)
            parts.push_back([&] {
                JournalRecord part = cellsRecord(undo.level);
                part.kind = JournalRecord::Kind::CellsInOrder;
                if (parts.empty())  // a step mostly writes one level
                    part.cells.reserve(end - first);
                return part;
            }());
        TerrainCell written = document.layer(undo.level).at(undo.row, undo.column);
        if (repeated && again[bitOf(undo)]) {
            const std::uint64_t key = std::uint64_t(undo.level) << 32 | std::uint32_t(undo.row) << 16 | undo.column;
            if (const auto later = foundByLater.find(key); later != foundByLater.end())
                written = later->second;
            foundByLater[key] = undo.previous;
        }
        parts.back().cells.push_back({undo.column, undo.row, written});
    }
    // Gathered newest first: put back in the order they were written.
    std::reverse(parts.begin(), parts.end());
    for (JournalRecord &part : parts)
        std::reverse(part.cells.begin(), part.cells.end());
    return journalStep(std::move(parts));
}

JournalRecord journalStep(std::vector<JournalRecord> parts)
{
    JournalRecord record;
    record.kind = JournalRecord::Kind::Step;
    record.parts = std::move(parts);
    return record;
}

JournalRecord journalMove(JournalRecord::Move move, std::vector<JournalRecord> parts)
{
    JournalRecord record;
    record.kind = JournalRecord::Kind::Move;
    record.move = move;
    record.parts = std::move(parts);
    return record;
}

namespace {

// A record as stored: framed and checksummed, or as a part of a step or a
// move, framed alone (the whole record's checksum covers it, and a part never
// passes for a record of its own when a damaged journal is searched for intact
// records).
QByteArray encodeRecord(const JournalRecord &record, bool part)
{
    QByteArray content;
    switch (record.kind) {
    case JournalRecord::Kind::Size:
        appendLittleEndian(content, record.side);
        break;
    case JournalRecord::Kind::Cells:
    case JournalRecord::Kind::CellsInOrder:
        content = cellsContent(record);
        break;
    case JournalRecord::Kind::Move:
        appendLittleEndian(content, std::uint8_t(record.move));
        [[fallthrough]];
    case JournalRecord::Kind::Step:
        for (const JournalRecord &each : record.parts)
            content += encodeRecord(each, true);
        break;
    }
    QByteArray stored;
    stored.reserve(FrameFront + content.size() + FrameBack);
    appendLittleEndian(stored, std::uint8_t(record.kind));
    appendLittleEndian(stored, std::uint32_t(content.size()));
    stored.append(content);
    if (!part)
        appendLittleEndian(stored, frameChecksum(stored));
    return stored;
}

}  // namespace

QByteArray encodeJournalRecord(const JournalRecord &record)
{
    return encodeRecord(record, false);
}

qsizetype intactRecordLength(QByteArrayView bytes)
{
    JournalBytes reader(bytes);
    const auto kind = reader.read<std::uint8_t>();
    const auto length = reader.read<std::uint32_t>();
    if (!kind || !length || *kind == 0 || *kind > std::uint8_t(JournalRecord::Kind::Move))
        return 0;
    const auto content = reader.take(qsizetype(*length));
    const auto checksum = reader.read<std::uint32_t>();
    if (!content || !checksum || *checksum != frameChecksum(bytes.first(FrameFront + content->size())))
        return 0;
    return reader.position();
}

namespace {

JournalRecordRead decodeRecord(QByteArrayView bytes, bool part);

// The parts of a step or a move, filling the content to its end.
Reason decodeParts(QByteArrayView content, JournalRecord &record)
{
    while (!content.isEmpty()) {
        JournalRecordRead read = decodeRecord(content, true);
        if (!read.ok())
            return read.why;
        record.parts.push_back(std::move(read.record));
        content = content.sliced(read.length);
    }
    return {};
}

JournalRecordRead decodeRecord(QByteArrayView bytes, bool part)
{
    JournalBytes reader(bytes);
    const auto kind = reader.read<std::uint8_t>();
    const auto length = reader.read<std::uint32_t>();
    if (!length)
        return refusal({reasons::JournalFrameCut, {FrameFront}});
    const auto content = reader.take(qsizetype(*length));
    if (part && !content)
        return refusal(reasons::JournalPartPast);
    const auto checksum = part ? std::optional<std::uint32_t>(0) : reader.read<std::uint32_t>();
    if (!content || !checksum)
        return refusal({reasons::JournalRecordCut, {FrameFront + qsizetype(*length) + FrameBack, bytes.size()}});
    if (!part && *checksum != frameChecksum(bytes.first(FrameFront + content->size())))
        return refusal(reasons::JournalChecksum);

    using Kind = JournalRecord::Kind;
    JournalRecordRead read;
    const bool partKind = *kind == std::uint8_t(Kind::Cells) || *kind == std::uint8_t(Kind::Size)
        || *kind == std::uint8_t(Kind::CellsInOrder);
    const bool wholeKind = *kind == std::uint8_t(Kind::Cells) || *kind == std::uint8_t(Kind::Size)
        || *kind == std::uint8_t(Kind::Step) || *kind == std::uint8_t(Kind::Move);
    if (part ? !partKind : !wholeKind)
        return refusal({part ? reasons::JournalPartKind : reasons::JournalKind, {*kind}});
    read.record.kind = Kind(*kind);
    Reason reason;
    switch (read.record.kind) {
    case Kind::Size: {
        JournalBytes sizeReader(*content);
        const auto side = sizeReader.read<std::uint32_t>();
        if (!side || sizeReader.remaining() != 0)
            return refusal(reasons::JournalSizeLength);
        if (*side == 0 || *side > MapDocument::LargestSide)
            return refusal({reasons::JournalSizeSide, {*side, MapDocument::LargestSide}});
        read.record = journalSizeChange(*side);
        break;
    }
    case Kind::Cells:
    case Kind::CellsInOrder:
        reason = decodeCells(*content, read.record.kind, read.record);
        break;
    case Kind::Move: {
        const auto move = content->isEmpty() ? 0 : std::uint8_t(content->front());
        if (move < std::uint8_t(JournalRecord::Move::UndoStep) || move > std::uint8_t(JournalRecord::Move::UndoOneCell))
            return refusal({reasons::JournalMove, {move}});
        read.record.move = JournalRecord::Move(move);
        reason = decodeParts(content->sliced(1), read.record);
        break;
    }
    case Kind::Step:
        reason = decodeParts(*content, read.record);
        if (reason.isEmpty() && read.record.parts.empty())
            reason = reasons::JournalNoParts;
        break;
    }
    if (!reason.isEmpty())
        return refusal(reason);
    read.length = reader.position();
    return read;
}

// Why the record does not fit a document of the given side and levels, its
// parts taken in order; empty when it fits.
Reason misfit(const MapDocument &document, std::uint32_t &side, const JournalRecord &record)
{
    switch (record.kind) {
    case JournalRecord::Kind::Size:
        if (record.side == 0 || record.side > MapDocument::LargestSide)
            return {reasons::JournalSizeChange, {record.side, MapDocument::LargestSide}};
        side = record.side;
        return {};
    case JournalRecord::Kind::Cells:
    case JournalRecord::Kind::CellsInOrder:
        if (!levelExists(document, record.level))
            return {reasons::JournalNoLevel, {record.level}};
        for (const JournalCell &cell : record.cells)
            if (cell.column >= side || cell.row >= side)
                return {reasons::JournalCellOutside, {cell.column, cell.row, side}};
        return {};
    case JournalRecord::Kind::Step:
    case JournalRecord::Kind::Move:
        for (const JournalRecord &part : record.parts)
            if (Reason reason = misfit(document, side, part); !reason.isEmpty())
                return reason;
        return {};
    }
    return {};
}

Reason applyFitting(MapDocument &document, const JournalRecord &record, CellEditor *editor)
{
    switch (record.kind) {
    case JournalRecord::Kind::Size:
        if (!document.redimension(record.side))
            return {reasons::JournalMemory, {record.side}};
        return {};
    case JournalRecord::Kind::Step:
    case JournalRecord::Kind::Move:
        for (const JournalRecord &part : record.parts)
            if (Reason reason = applyFitting(document, part, editor); !reason.isEmpty())
                return reason;
        return {};
    case JournalRecord::Kind::Cells:
    case JournalRecord::Kind::CellsInOrder:
        break;
    }
    TerrainLayer &layer = document.layer(record.level);
    if (!editor) {
        for (const JournalCell &cell : record.cells)
            layer.at(cell.row, cell.column) = cell.value;
        return {};
    }
    // The editor is pointed at the record's level for the writes and back afterwards.
    const int editorLevel = editor->level();
    editor->setLevel(record.level);
    editor->reserveRecords(record.cells.size());
    for (const JournalCell &cell : record.cells)
        editor->replaceCell(cell.column, cell.row, cell.value);
    editor->setLevel(editorLevel);
    return {};
}

}  // namespace

JournalRecordRead decodeJournalRecord(QByteArrayView bytes)
{
    return decodeRecord(bytes, false);
}

Reason applyJournalRecord(MapDocument &document, const JournalRecord &record, CellEditor *editor)
{
    Q_ASSERT(!editor || &editor->document() == &document);
    std::uint32_t side = document.mapSize;
    if (Reason reason = misfit(document, side, record); !reason.isEmpty())
        return reason;
    return applyFitting(document, record, editor);
}

bool documentHoldsRecord(const MapDocument &document, const JournalRecord &record)
{
    switch (record.kind) {
    case JournalRecord::Kind::Size:
        return document.mapSize == record.side;
    case JournalRecord::Kind::Step:
    case JournalRecord::Kind::Move:
        return std::all_of(record.parts.begin(), record.parts.end(),
                           [&](const JournalRecord &part) { return documentHoldsRecord(document, part); });
    case JournalRecord::Kind::Cells:
    case JournalRecord::Kind::CellsInOrder:
        break;
    }
    if (!levelExists(document, record.level))
        return false;
    const TerrainLayer &layer = document.layer(record.level);
    // Cells in order hold the last value written to each.
    std::vector<JournalCell> last = record.cells;
    if (record.kind == JournalRecord::Kind::CellsInOrder) {
        std::stable_sort(last.begin(), last.end(), inKeyOrder);
        for (std::size_t i = last.size(); i-- > 1;)
            if (positionKey(last[i - 1]) == positionKey(last[i]))
                last[i - 1].value = last[i].value;
    }
    return std::all_of(last.begin(), last.end(), [&](const JournalCell &cell) {
        return cell.column < layer.side() && cell.row < layer.side() && layer.at(cell.row, cell.column) == cell.value;
    });
}
