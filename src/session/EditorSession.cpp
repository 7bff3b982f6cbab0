// The editor's session: operations on the open map and their notices.
#include "session/EditorSession.h"

#include "session/Settings.h"

#include "base/Platform.h"
#include "edit/BrushSettings.h"
#include "edit/CellEditor.h"
#include "edit/PaintAt.h"
#include "edit/PathPieces.h"
#include "edit/ReplaceFill.h"
#include "edit/TerrainEdges.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
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

QString EditorSession::prepareSprites(Settings &settings)
{
    if (sprites())
        return {};
    TileSpriteSource source{settings.graphics, settings.valdris_path};
    const TileLoadResult loaded = loadSprites(source);
    settings.graphics = source.graphics;  // a missing game folder means the "defs" folder for this run
    if (loaded == TileLoadResult::Finished)
        return {};
    settings.graphics = Settings::PlainColours;
    return spriteLoadError();
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
    // One form of the name whatever was typed: the caption and the recent list show it.
    m_fileName = QFileInfo(fileName).absoluteFilePath();
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
        if (const QString absolute = QFileInfo(fileName).absoluteFilePath(); absolute != m_fileName) {
            m_fileName = absolute;
            Q_EMIT fileNameChanged(m_fileName);
        }
        announceHistory();
    }
    return saved;
}

QString EditorSession::replayStep(const std::function<QString(MapDocument &document, CellEditor &editor)> &write)
{
    beginStep();
    m_stepMirrored = false;
    CellEditor editor(m_document, m_history.undoList());
    const int shownLevel = m_document.currentLayerLevel();
    const QString reason = write(m_document, editor);
    m_document.pointCurrentLayerAt(shownLevel);
    // The writer may have pointed the editor at either level: each level's
    // cells are announced from the records the step appended.
    const UndoList &records = m_history.undoList();
    struct Bounds {
        int left = 0x10000, top = 0x10000, right = -1, bottom = -1;
    };
    std::array<Bounds, 2> changed;
    for (std::size_t i = m_stepStart; i < records.count(); ++i) {
        const UndoRecord &record = records.at(i);
        if (record.level >= 2)
            continue;
        Bounds &bounds = changed[record.level];
        bounds = {std::min<int>(bounds.left, record.column), std::min<int>(bounds.top, record.row),
                  std::max<int>(bounds.right, record.column), std::max<int>(bounds.bottom, record.row)};
    }
    for (int level = 0; level < 2; ++level)
        if (changed[level].right >= 0)
            Q_EMIT cellsChanged(level, QRect(QPoint(changed[level].left, changed[level].top),
                                             QPoint(changed[level].right, changed[level].bottom)));
    if (records.count() > m_stepStart)
        Q_EMIT undoCountChanged(records.count());
    finishStep(false);
    return reason;
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
    const HistoryChange change = changeHistory(Work::Resize, [&](const ProgressCallback &progress) {
        return m_history.resize(m_document, side, progress);
    });
    if (change.outOfMemory)
        return false;
    announce(change);
    return true;
}

template <typename Change>
HistoryChange EditorSession::changeHistory(Work work, Change &&change)
{
    closeOpenStep();
    // While a size change replaces the layers (its progress dialog lets the
    // window repaint), the cells are not to be read.
    m_resizing = true;
    // Undoing a step of millions of cells takes a while: the window shows it is busy.
    const HistoryChange result = change(progressFor(work));
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
    m_stepMirrored = true;
    m_stepPieced = false;
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
    const int level = m_document.currentLayerLevel();
    std::vector<CellPosition> mirrored;
    if (m_stepMirrored && m_symmetry != SymmetryMode::Off && m_history.undoList().count() > m_stepStart) {
        const std::vector<CellChange> changes =
            recordedChanges(m_history.undoList(), m_stepStart, level, m_document.mapSize);
        edit([&](CellEditor &editor) {
            mirrored = applySymmetry(editor, m_symmetry, changes);
            return mirrored.size();
        });
    }
    if (brushEdges && m_edgeBrush && m_history.undoList().count() > m_stepStart)
        applyRules(recordedPositions(m_history.undoList(), m_stepStart, level));
    else if (!brushEdges || m_stepPieced)
        // The operation chose its own pictures by the rules: its copies take
        // theirs from the rules as well.
        applyRules(mirrored);
    m_history.closeStep();
    const std::size_t end = m_history.undoList().count();
    if (end > m_stepStart)
        Q_EMIT stepRecorded(m_stepStart, end);
    m_stepStart = end;
    announceHistory();
}

void EditorSession::applyRules(std::span<const CellPosition> cells)
{
    if (!m_edgeRules || cells.empty())
        return;
    edit([&](CellEditor &editor) {
        std::size_t changed = applyTerrainEdges(editor, *m_edgeRules, cells);
        if (!m_edgeRules->paths().isEmpty())
            for (const PathLayer path : PathLayers)
                changed += applyPathPieces(editor, m_edgeRules->paths(), path, cells);
        return changed;
    });
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
    return announce(changeHistory(Work::Edit, [&](const ProgressCallback &progress) {
        return m_history.undoOneCell(m_document, progress);
    }));
}

UndoStep EditorSession::undoStep()
{
    return announce(changeHistory(Work::Edit, [&](const ProgressCallback &progress) {
        return m_history.undoStep(m_document, progress);
    }));
}

UndoStep EditorSession::redoStep()
{
    return announce(changeHistory(Work::Edit, [&](const ProgressCallback &progress) {
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
    const ProgressCallback busy = progressFor(Work::Edit);
    const std::size_t changed =
        edit([&](CellEditor &editor) { return applyTerrainEdgesToLevel(editor, *m_edgeRules); });
    finishStep(false);
    return changed;
}

PathLaid EditorSession::layPath(PathLayer layer, std::uint8_t type, QPoint from, QPoint to, bool erase,
                                std::uint8_t fallbackPicture)
{
    if (!levelShown() || from.x() < 0 || from.y() < 0 || to.x() < 0 || to.y() < 0)
        return {};
    const bool ownStep = !m_stepOpen;
    if (ownStep)
        beginStep();
    m_stepPieced = true;
    static const PathRules noRules;
    const PathRules &rules = m_edgeRules ? m_edgeRules->paths() : noRules;
    const std::vector<CellPosition> cells = pathCells({std::uint16_t(from.x()), std::uint16_t(from.y())},
                                                      {std::uint16_t(to.x()), std::uint16_t(to.y())});
    PathLaid laid;
    edit([&](CellEditor &editor) {
        if (erase)
            laid.changed = erasePath(editor, rules, layer, cells);
        else
            laid = ::layPath(editor, rules, layer, type, cells, fallbackPicture);
        return laid.changed;
    });
    if (ownStep)
        endStep();
    return laid;
}

std::size_t EditorSession::fixAllPaths()
{
    if (!hasPathRules())
        return 0;
    beginStep();
    const std::size_t changed =
        edit([&](CellEditor &editor) { return applyPathPiecesToLevel(editor, m_edgeRules->paths(), PathLayers); });
    finishStep(false);
    return changed;
}

TransformResult EditorSession::transform(Transform transform, const TransformTarget &target)
{
    if (target.kind == TransformTarget::Kind::Clipboard) {
        closeOpenStep();
        if (m_clipboard.isEmpty())
            return {QStringLiteral("no cells are copied to transform")};
        m_clipboard.transform(transform);
        return {QString(), std::size_t(m_clipboard.width()) * m_clipboard.height()};
    }
    if (!levelShown())
        return {QStringLiteral("no level of an open map is shown to edit")};
    beginStep();
    m_stepMirrored = false;
    const TerrainEdgeRules *rules = m_edgeRules ? &*m_edgeRules : nullptr;
    TransformResult result;
    edit([&](CellEditor &editor) {
        result = target.kind == TransformTarget::Kind::Level ? transformLevel(editor, transform, rules)
                                                             : transformArea(editor, target.selection, transform, rules);
        return result.changed;
    });
    // Cells on the area's border meet new neighbours, and a flip's paths
    // join other sides: the rules give them their pictures.
    applyRules(recordedPositions(m_history.undoList(), m_stepStart, m_document.currentLayerLevel()));
    finishStep(false);
    return result;
}

std::size_t EditorSession::mirrorHalf(LevelHalf half)
{
    if (!levelShown())
        return 0;
    beginStep();
    m_stepMirrored = false;
    const std::size_t changed = edit([&](CellEditor &editor) { return ::mirrorHalf(editor, half); });
    // The cells along the seam meet new neighbours.
    applyRules(recordedPositions(m_history.undoList(), m_stepStart, m_document.currentLayerLevel()));
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
    const ProgressCallback busy = progressFor(Work::Edit);
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
