// The list of the history's steps.
#include "session/StepLog.h"

#include "session/EditorSession.h"
#include "session/Settings.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// A menu text as a name: without its shortcut mark.
QString plain(const QString &menuText)
{
    return QString(menuText).remove(u'&');
}

// Steps larger than this are counted over a bitmap of the map's cells
// rather than by sorting their positions.
constexpr std::size_t SortedCountLimit = 65536;

}  // namespace

StepLog::StepLog(EditorSession &session, const InterfaceTexts &texts, QObject *parent)
    : QAbstractListModel(parent)
    , m_session(session)
    , m_texts(texts)
{
    connect(&session, &EditorSession::mapOpened, this, &StepLog::restart);
    connect(&session, &EditorSession::stepRecorded, this, &StepLog::stepRecorded);
    connect(&session, &EditorSession::historyMoved, this, &StepLog::historyMoved);
    // Made while a map is open, the list starts from the map as it is now.
    if (session.document().isLoaded)
        restart();
}

int StepLog::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_open)
        return 0;
    return int(m_entries.size()) + 1;
}

QVariant StepLog::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return text(index.row());
    case StateRole: return int(state(index.row()));
    default: return {};
    }
}

int StepLog::currentRow() const
{
    if (!m_open)
        return -1;
    // The last step with a record on the undo side; row 0 when there is none.
    const std::size_t count = m_session.undoList().count();
    const auto after = std::partition_point(m_entries.begin(), m_entries.end(),
                                            [count](const Entry &entry) { return entry.first < count; });
    return int(after - m_entries.begin());
}

StepLog::State StepLog::state(int row) const
{
    const int current = currentRow();
    return row == current ? State::Current : row < current ? State::Done : State::Undone;
}

QString StepLog::text(int row) const
{
    if (row <= 0 || std::size_t(row) > m_entries.size())
        return row == 0 ? m_opened : QString();
    const Entry &entry = m_entries[std::size_t(row) - 1];
    if (entry.sizeChange)
        return entry.name;
    const std::size_t count = m_session.undoList().count();
    if (entry.first < count && count < entry.end) {
        const std::size_t inPlace = entry.cells == entry.end - entry.first ? count - entry.first
                                                                             : distinctCells(entry.first, count);
        return m_texts.counted(m_texts.histpartly, entry.cells).arg(entry.name, m_texts.numberLocale().toString(qulonglong(inPlace)));
    }
    return m_texts.counted(m_texts.histcells, entry.cells).arg(entry.name);
}

void StepLog::moveTo(int row, const Move &move)
{
    if (!m_open || row < 0 || row >= rowCount())
        return;
    const std::size_t target = recordsAt(row);
    std::size_t count = m_session.undoList().count();
    const bool back = count > target;
    // Each move goes one step; a move that overshoots the row (a history the
    // list does not match) or changes nothing ends the walk.
    while (count != target && (count > target) == back) {
        if (move)
            move(back);
        else if (back)
            m_session.undoStep();
        else
            m_session.redoStep();
        const std::size_t after = m_session.undoList().count();
        if (after == count)
            break;
        count = after;
    }
}

void StepLog::restart()
{
    beginResetModel();
    m_open = true;
    m_opened = m_texts.histopened.arg(QFileInfo(m_session.fileName()).fileName());
    m_base = m_session.undoList().count();
    m_side = m_session.document().mapSize;
    m_entries.clear();
    endResetModel();
}

void StepLog::stepRecorded(std::size_t firstRecord, std::size_t endRecord, const StepLabel &label)
{
    if (!m_open)
        return;
    dropFrom(firstRecord);
    append({stepName(label), firstRecord, endRecord, distinctCells(firstRecord, endRecord), false});
    refresh();
}

void StepLog::historyMoved(const HistoryChange &change)
{
    if (!m_open)
        return;
    if (change.move == HistoryChange::Move::Resize && change.newSide) {
        // A size change is one record, the newest.
        const std::size_t end = m_session.undoList().count();
        dropFrom(end - 1);
        append({m_texts.histsize.arg(m_side).arg(*change.newSide), end - 1, end, 0, true});
    }
    if (change.newSide)
        m_side = *change.newSide;
    refresh();
}

void StepLog::dropFrom(std::size_t first)
{
    const auto from = std::partition_point(m_entries.begin(), m_entries.end(),
                                           [first](const Entry &entry) { return entry.first < first; });
    if (from != m_entries.end()) {
        const int row = int(from - m_entries.begin()) + 1;
        beginRemoveRows(QModelIndex(), row, int(m_entries.size()));
        m_entries.erase(from, m_entries.end());
        endRemoveRows();
    }
    // What was left of a step that single-cell undos split is a shorter step.
    if (!m_entries.empty() && m_entries.back().end > first) {
        Entry &split = m_entries.back();
        split.end = first;
        split.cells = distinctCells(split.first, split.end);
    }
}

void StepLog::append(Entry entry)
{
    const int row = int(m_entries.size()) + 1;
    beginInsertRows(QModelIndex(), row, row);
    m_entries.push_back(std::move(entry));
    endInsertRows();
}

void StepLog::refresh()
{
    Q_EMIT dataChanged(index(0), index(rowCount() - 1));
}

QString StepLog::stepName(const StepLabel &label) const
{
    const InterfaceTexts &t = m_texts;
    switch (label.kind) {
    case StepKind::Stroke: return t.toolbrush;
    case StepKind::Fill: return t.histbrushfill;
    case StepKind::Paste: return plain(t.menupaste);
    case StepKind::FillSelection: return plain(t.menufillselection);
    case StepKind::ReplaceFill: return t.toolfill;
    case StepKind::Path:
        if (label.pathTakenOff)
            return label.pathLayer == PathLayer::River ? t.histrivererased : t.histroaderased;
        return label.pathLayer == PathLayer::River ? t.toolriver : t.toolroad;
    case StepKind::FixEdges: return plain(t.menufixedges);
    case StepKind::FixPaths: return plain(t.menufixpaths);
    case StepKind::Transform:
        switch (label.transform) {
        case Transform::FlipHorizontal: return plain(t.trfliph);
        case Transform::FlipVertical: return plain(t.trflipv);
        case Transform::FlipDiagonal: return t.histflipdiagonal;
        case Transform::Turn90: return plain(t.trturn90);
        case Transform::Turn180: return plain(t.trturn180);
        case Transform::Turn270: return plain(t.trturn270);
        }
        return plain(t.menutransform);
    case StepKind::MirrorHalf:
        switch (label.half) {
        case LevelHalf::Left: return plain(t.trmirrorleft);
        case LevelHalf::Top: return plain(t.trmirrortop);
        case LevelHalf::Right: return plain(t.trmirrorright);
        case LevelHalf::Bottom: return plain(t.trmirrorbottom);
        }
        return plain(t.menutransform);
    case StepKind::Replay: return t.histrecovered;
    case StepKind::Generate: return t.gentitle;
    }
    return t.histrecovered;
}

std::size_t StepLog::distinctCells(std::size_t first, std::size_t end) const
{
    const UndoList &records = m_session.undoList();
    const std::uint32_t side = m_session.document().mapSize;
    if (end - first > SortedCountLimit && side > 0) {
        const std::size_t levelCells = std::size_t(side) * side;
        std::vector<bool> seen(2 * levelCells);
        std::size_t distinct = 0;
        for (std::size_t i = first; i < end; ++i) {
            const UndoRecord &record = records.at(i);
            if (record.level > 1 || record.column >= side || record.row >= side) {
                ++distinct;  // a place the map lacks; none of a step just made
                continue;
            }
            const std::size_t at = record.level * levelCells + std::size_t(record.row) * side + record.column;
            if (!seen[at]) {
                seen[at] = true;
                ++distinct;
            }
        }
        return distinct;
    }
    std::vector<std::uint64_t> keys;
    keys.reserve(end - first);
    for (std::size_t i = first; i < end; ++i) {
        const UndoRecord &record = records.at(i);
        keys.push_back((std::uint64_t(record.level) << 32) | (std::uint64_t(record.row) << 16) | record.column);
    }
    std::sort(keys.begin(), keys.end());
    return std::size_t(std::unique(keys.begin(), keys.end()) - keys.begin());
}

std::size_t StepLog::recordsAt(int row) const
{
    return row <= 0 ? m_base : m_entries[std::size_t(row) - 1].end;
}
