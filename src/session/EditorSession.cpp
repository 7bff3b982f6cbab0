// The editor's session: operations on the open map and their notices.
#include "session/EditorSession.h"

#include "base/Platform.h"
#include "edit/BrushSettings.h"
#include "edit/CellEditor.h"
#include "edit/JournalRecord.h"
#include "edit/PaintAt.h"
#include "edit/ReplaceFill.h"
#include "edit/TerrainEdges.h"

#include <utility>

EditorSession::EditorSession(QObject *parent)
    : QObject(parent)
{
}

EditorSession::~EditorSession() = default;

TileLoadResult EditorSession::loadSprites(TileSpriteSource &source)
{
    return m_sprites.LoadTileSprites(source);
}

MapOpenResult EditorSession::open(const QString &fileName)
{
    if (QString reason = mapFileRefusal(fileName); !reason.isEmpty())
        return {std::move(reason)};
    // A map copied from a read-only medium must not stay read-only once edited.
    platform::clearFileAttributes(fileName);
    MapLoadResult loaded = readMapFile(fileName, progressFor(Work::Open, fileName));
    if (!loaded.ok())
        return {std::move(loaded.reason)};
    closeOpenStep();
    clearRegionSelection();
    adoptLoadedMap(m_document, std::move(*loaded.document));
    m_fileName = fileName;
    m_document.pointCurrentLayerAt(m_level);
    m_history.clear();
    Q_EMIT mapOpened();
    Q_EMIT fileNameChanged(m_fileName);
    Q_EMIT undoCountChanged(0);
    announceHistory();
    return {};
}

MapSaveResult EditorSession::save(const QString &fileName)
{
    closeOpenStep();
    MapSaveResult saved = saveMapFile(m_document, fileName, m_saveOptions, progressFor(Work::Save, fileName));
    if (saved.ok()) {
        m_history.markSaved();
        Q_EMIT mapSaved(fileName);
        if (fileName != m_fileName) {
            m_fileName = fileName;
            Q_EMIT fileNameChanged(m_fileName);
        }
        announceHistory();
    }
    return saved;
}

EditorSession::JournalReplay EditorSession::replayJournal(const JournalContents &journal)
{
    JournalReplay replay;
    for (; replay.steps < journal.recordCount(); ++replay.steps) {
        const JournalRecord record = journal.record(replay.steps);
        if (record.kind == JournalRecord::Kind::Size) {
            if (!resize(record.side)) {
                replay.reason = QStringLiteral("not enough memory for a map of side %1").arg(record.side);
                break;
            }
            continue;
        }
        beginStep();
        CellEditor editor(m_document, m_history.undoList());
        replay.reason = applyJournalRecord(m_document, record, &editor);
        if (!editor.changedCells().isEmpty()) {
            Q_EMIT cellsChanged(record.level, editor.changedCells());
            Q_EMIT undoCountChanged(m_history.undoList().count());
        }
        finishStep(false);
        if (!replay.reason.isEmpty())
            break;
    }
    return replay;
}

void EditorSession::forgetFileName()
{
    m_fileName.clear();
    Q_EMIT fileNameChanged(m_fileName);
}

bool EditorSession::selectLevel(int level)
{
    if (!m_document.isLoaded)
        return false;
    closeOpenStep();
    clearRegionSelection();
    m_level = level == 1 ? 1 : 0;
    // Level 1 of a one-level map leaves the current layer as it was.
    const bool shown = m_document.pointCurrentLayerAt(m_level);
    Q_EMIT levelChanged(m_level, shown);
    return shown;
}

bool EditorSession::resize(std::uint32_t side)
{
    const HistoryChange change = changeHistory([&](const ProgressCallback &progress) {
        return m_history.resize(m_document, side, progress);
    });
    if (change.outOfMemory)
        return false;
    announce(change);
    return true;
}

template <typename Change>
HistoryChange EditorSession::changeHistory(Change &&change)
{
    closeOpenStep();
    // While a size change replaces the layers (its progress dialog lets the
    // window repaint), the cells are not to be read.
    m_resizing = true;
    const HistoryChange result = change(progressFor(Work::Resize));
    m_resizing = false;
    return result;
}

template <typename Operation>
std::size_t EditorSession::edit(Operation &&operation)
{
    if (!levelShown())
        return 0;
    CellEditor editor(m_document, m_history.undoList());
    const std::size_t count = operation(editor);
    if (count > 0) {
        Q_EMIT cellsChanged(m_document.currentLayerLevel(), editor.changedCells());
        Q_EMIT undoCountChanged(m_history.undoList().count());
    }
    return count;
}

void EditorSession::beginStep()
{
    closeOpenStep();
    m_history.openStep();
    m_stepStart = m_history.undoList().count();
    m_stepOpen = true;
}

void EditorSession::closeOpenStep()
{
    if (m_stepOpen)
        endStep();
}

void EditorSession::endStep()
{
    finishStep(true);
}

void EditorSession::finishStep(bool brushEdges)
{
    m_stepOpen = false;
    if (brushEdges && m_edgeBrush && m_edgeRules && m_history.undoList().count() > m_stepStart) {
        const std::vector<CellPosition> changed =
            recordedPositions(m_history.undoList(), m_stepStart, m_document.currentLayerLevel());
        edit([&](CellEditor &editor) { return applyTerrainEdges(editor, *m_edgeRules, changed); });
    }
    m_history.closeStep();
    const std::size_t end = m_history.undoList().count();
    if (end > m_stepStart)
        Q_EMIT stepRecorded(m_stepStart, end);
    m_stepStart = end;
    announceHistory();
}

void EditorSession::announceHistory()
{
    Q_EMIT historyChanged();
    if (hasUnsavedChanges() != m_modified) {
        m_modified = !m_modified;
        Q_EMIT modifiedChanged(m_modified);
    }
}

std::size_t EditorSession::paint(const BrushSettings &brush, int column, int row)
{
    const bool fill = brush.fillX || brush.fillY;
    if (fill && CellEditor::canEdit(m_document) && std::uint32_t(column) < m_document.mapSize
        && std::uint32_t(row) < m_document.mapSize) {
        const std::uint8_t from = m_document.currentLayer().at(std::uint32_t(row), std::uint32_t(column)).tertype;
        if (!fillSpreadsFrom(from, brush))
            Q_EMIT fillStoppedAtFirstCell(from, brush.terrainType);
    }
    const ProgressCallback progress = fill ? progressFor(Work::Fill) : ProgressCallback();
    return edit([&](CellEditor &editor) {
        return PaintAt(editor, brush, m_anchorCell, std::uint16_t(column), std::uint16_t(row), progress);
    });
}

UndoStep EditorSession::announce(const HistoryChange &change)
{
    Q_EMIT historyMoved(change);
    if (change.newSide) {
        Q_EMIT mapResized(int(*change.newSide));
        selectLevel(m_level);
    }
    for (int level = 0; level < 2; ++level)
        if (!change.changedCells[level].isEmpty())
            Q_EMIT cellsChanged(level, change.changedCells[level]);
    if (change.firstCell.outcome != UndoStep::Outcome::Nothing)
        Q_EMIT undoCountChanged(m_history.undoList().count());
    announceHistory();
    return change.firstCell;
}

UndoStep EditorSession::undoLast()
{
    return announce(changeHistory([&](const ProgressCallback &progress) {
        return m_history.undoOneCell(m_document, progress);
    }));
}

UndoStep EditorSession::undoStep()
{
    return announce(changeHistory([&](const ProgressCallback &progress) {
        return m_history.undoStep(m_document, progress);
    }));
}

UndoStep EditorSession::redoStep()
{
    return announce(changeHistory([&](const ProgressCallback &progress) {
        return m_history.redoStep(m_document, progress);
    }));
}

QString EditorSession::loadEdgeRules(const QString &path)
{
    TerrainEdgeRulesResult read = readTerrainEdgeRules(path);
    if (!read.ok()) {
        m_edgeRules.reset();
        return read.reason;
    }
    m_edgeRules = std::move(read.rules);
    return {};
}

std::size_t EditorSession::fixAllEdges()
{
    if (!m_edgeRules)
        return 0;
    beginStep();
    const std::size_t changed =
        edit([&](CellEditor &editor) { return applyTerrainEdgesToLevel(editor, *m_edgeRules); });
    finishStep(false);
    return changed;
}

bool EditorSession::copy(const QRect &selection)
{
    return levelShown() && m_clipboard.copy(m_document, selection);
}

std::size_t EditorSession::paste(int left, int top)
{
    if (!m_document.isLoaded)
        return 0;
    beginStep();
    const std::size_t changed = edit([&](CellEditor &editor) { return m_clipboard.paste(editor, left, top); });
    endStep();
    return changed;
}

std::size_t EditorSession::replaceFill(const BrushSettings &brush, int column, int row, bool wholeLevel)
{
    if (!m_document.isLoaded || column < 0 || row < 0)
        return 0;
    // The rules' pictures come with the fill itself, in its own step.
    beginStep();
    const ProgressCallback progress = progressFor(Work::Fill);
    const ReplaceFillOptions options{wholeLevel, m_edgeRules ? &*m_edgeRules : nullptr};
    const std::size_t changed = edit([&](CellEditor &editor) {
        return ::replaceFill(editor, brush, std::uint16_t(column), std::uint16_t(row), options, progress).changed;
    });
    finishStep(false);
    return changed;
}

std::size_t EditorSession::selectSame(int column, int row, bool wholeLevel)
{
    const TerrainLayer &layer = m_document.currentLayer();
    if (!levelShown() || column < 0 || row < 0 || std::uint32_t(std::max(column, row)) >= layer.side())
        return 0;
    m_regionSelection = wholeLevel ? RegionSelection::terrainOnLevel(layer, layer.at(row, column).tertype)
                                   : RegionSelection::connectedRegion(layer, column, row);
    Q_EMIT regionSelectionChanged();
    return m_regionSelection->cellCount();
}

void EditorSession::clearRegionSelection()
{
    if (!m_regionSelection)
        return;
    m_regionSelection.reset();
    Q_EMIT regionSelectionChanged();
}

std::size_t EditorSession::fillSelection(const BrushSettings &brush, const QRect &rectangle)
{
    if (!m_document.isLoaded)
        return 0;
    const RegionSelection selection =
        m_regionSelection ? *m_regionSelection : RegionSelection::rectangle(rectangle, m_document.mapSize);
    beginStep();
    const ProgressCallback progress = progressFor(Work::Fill);
    const std::size_t changed = edit(
        [&](CellEditor &editor) { return ::fillSelection(editor, brush, selection, progress).changed; });
    endStep();
    return changed;
}

void EditorSession::loadCatalogue(const ObstacleCatalogueOptions &options)
{
    m_catalogue = ObstacleCatalogue::load(options);
}

void EditorSession::chooseObstacles(ObstacleRequest request)
{
    request.featureOn = m_catalogue.isOn();
    request.map = m_document.isLoaded ? &m_document : nullptr;
    request.level = m_level;
    request.anchorColumn = m_anchorCell.column;
    request.anchorRow = m_anchorCell.row;
    const std::optional<ObstacleChoice> choice = chooseObstacleView(request, m_obstacleView);
    if (!choice)
        return;
    m_obstacleView = choice->view;
    Q_EMIT obstacleViewChanged(choice->action);
}

ProgressCallback EditorSession::progressFor(Work work, const QString &fileName) const
{
    return m_progressFactory ? m_progressFactory(work, fileName) : ProgressCallback();
}

void EditorSession::releaseResources()
{
    m_catalogue = ObstacleCatalogue();
    if (m_sprites.spritesLoaded())
        m_sprites.release();
}
