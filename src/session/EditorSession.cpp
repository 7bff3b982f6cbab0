// The editor's session: operations on the open map and their notices.
#include "session/EditorSession.h"

#include "session/Settings.h"

#include "base/Platform.h"
#include "edit/BrushSettings.h"
#include "edit/CellEditor.h"
#include "edit/PaintAt.h"
#include "edit/PathPieces.h"
#include "edit/ReplaceFill.h"
#include "edit/StepStages.h"
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

Reason EditorSession::prepareSprites(Settings &settings)
{
    if (sprites())
        return {};
    TileSpriteSource source{settings.graphics, settings.valdris_path};
    const TileLoadResult loaded = loadSprites(source);
    settings.graphics = source.graphics;  // a missing game folder means the "defs" folder for this run
    if (loaded == TileLoadResult::Finished)
        return {};
    settings.graphics = Settings::PlainColours;
    return m_sprites.loadWhy();
}

MapOpenResult EditorSession::open(const QString &fileName)
{
    if (const Reason reason = mapFileRefusal(fileName); !reason.isEmpty())
        return reason;
    // A map copied from a read-only medium must not stay read-only once edited.
    platform::clearFileAttributes(fileName);
    MapLoadResult loaded = readMapFile(fileName, progressFor(Work::Open, fileName));
    if (!loaded.ok())
        return loaded.why;
    closeOpenStep();
    clearRegionSelection();
    adoptLoadedMap(m_document, std::move(*loaded.document));
    m_sizeSteps = SizeSteps::forSide(m_document.mapSize);
    // One form of the name whatever was typed: the caption and the recent list show it.
    m_fileName = QFileInfo(fileName).absoluteFilePath();
    m_history.clear();
    forgetPathPoint();
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

QString EditorSession::replayStep(const std::function<QString(MapDocument &document, CellEditor &editor)> &write,
                                  StepKind kind)
{
    beginStep(kind);
    const std::size_t start = m_step->start;
    CellEditor editor(m_document, layerLevel(), m_history.undoList());
    const QString reason = write(m_document, editor);
    // The writer may have pointed the editor at either level: each level's
    // cells are announced from the records the step appended.
    const UndoList &records = m_history.undoList();
    std::array<QRect, 2> changed;
    for (std::size_t i = start; i < records.count(); ++i) {
        const UndoRecord &record = records.at(i);
        if (record.level < 2)
            changed[record.level] |= QRect(record.column, record.row, 1, 1);
    }
    for (int level = 0; level < 2; ++level)
        if (!changed[level].isEmpty())
            Q_EMIT cellsChanged(level, changed[level]);
    if (records.count() > start)
        Q_EMIT undoCountChanged(records.count());
    endStep();
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
    forgetPathPoint();
    // Level 1 of a one-level map has no cells to show.
    const bool shown = m_document.hasLevel(m_level);
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
    forgetPathPoint();
    // While a size change replaces the layers (its progress dialog lets the
    // window repaint), the cells are not to be read.
    m_resizing = true;
    // Undoing a step of millions of cells takes a while: the window shows it is busy.
    const HistoryChange result = change(progressFor(work));
    m_resizing = false;
    return result;
}

template <typename Operation>
std::size_t EditorSession::edit(StepKind kind, Operation &&operation)
{
    if (m_step && m_step->kind != kind && m_history.undoList().count() == m_step->start) {
        // A gesture's step that has nothing yet takes the kind of its first operation.
        m_step->kind = kind;
    }
    const bool ownStep = !m_step || m_step->kind != kind;
    if (ownStep)
        beginStep(kind);
    std::size_t count = 0;
    if (levelShown()) {
        // Long work shows itself (the busy pointer, progress) from here to the step's end.
        stepProgress();
        CellEditor editor(m_document, m_level, m_history.undoList());
        const std::size_t firstRecord = m_history.undoList().count();
        count = operation(editor);
        ++m_step->operations;
        if (stepTraits(kind).live)
            runStages(editor, firstRecord);
        announceEdits(editor, firstRecord);
    }
    if (ownStep)
        endStep();
    return count;
}

void EditorSession::runStages(CellEditor &editor, std::size_t firstRecord)
{
    const StepTraits traits = stepTraits(m_step->kind);
    const bool rules = m_edgeRules
        && (traits.rules == RulesUse::Always || (traits.rules == RulesUse::WithEdgeBrush && m_edgeBrush));
    const std::vector<CellPosition> pathCells = std::exchange(m_step->pathCells, {});
    const StageWork work{traits.mirrored ? m_symmetry : SymmetryMode::Off, rules ? &*m_edgeRules : nullptr,
                         pathCells, m_step->pathLayer};
    const auto [first, end] = ::runStages(editor, m_history.undoList(), firstRecord, work);
    if (end > first)
        m_step->stageRecords.emplace_back(first, end);
}

void EditorSession::announceEdits(const CellEditor &editor, std::size_t firstRecord)
{
    if (editor.changedCells().isEmpty())
        return;
    // The copies of an edit under symmetry lie apart: each quarter is told on
    // its own, so that what lies between them (on a huge level, nearly all of
    // it) is not drawn or checked again.
    if (m_symmetry != SymmetryMode::Off && m_step && stepTraits(m_step->kind).mirrored) {
        for (const QRect &quarter : changedQuarters(m_history.undoList(), firstRecord, editor.level(), m_document.mapSize))
            Q_EMIT cellsChanged(editor.level(), quarter);
    } else {
        Q_EMIT cellsChanged(editor.level(), editor.changedCells());
    }
    Q_EMIT undoCountChanged(m_history.undoList().count());
}

const ProgressCallback &EditorSession::stepProgress()
{
    static const ProgressCallback none;
    if (!m_step)
        return none;
    if (!m_step->progress && stepTraits(m_step->kind).work != EditWork::None)
        m_step->progress = progressFor(stepTraits(m_step->kind).work);
    return m_step->progress;
}

void EditorSession::beginStep(StepKind kind)
{
    closeOpenStep();
    m_history.openStep();
    m_step = OpenStep{kind, m_history.undoList().count(), {}, 0, {}};
}

void EditorSession::closeOpenStep()
{
    if (m_step)
        endStep();
}

void EditorSession::endStep()
{
    if (!m_step)
        return;
    // The closing stages, in order: symmetry and rules (unless they ran
    // after each operation), the history's records, then the journal.
    if (!stepTraits(m_step->kind).live && m_step->operations > 0 && levelShown()) {
        CellEditor editor(m_document, m_level, m_history.undoList());
        runStages(editor, m_step->start);
        announceEdits(editor, m_step->start);
    }
    const OpenStep step = std::move(*m_step);
    m_step.reset();
    const std::size_t recorded = m_history.undoList().count();
    m_history.compactOpenStep(m_document, step.stageRecords, step.operations == 1);
    m_history.closeStep();
    const std::size_t end = m_history.undoList().count();
    if (end != recorded)
        Q_EMIT undoCountChanged(end);
    if (end > step.start)
        Q_EMIT stepRecorded(step.start, end,
                            StepLabel{step.kind, step.pathLayer, step.pathTakenOff && !step.pathLaid, step.transform,
                                      step.half});
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
    if (fill && CellEditor::canEdit(m_document, m_level) && std::uint32_t(column) < m_document.mapSize
        && std::uint32_t(row) < m_document.mapSize) {
        const std::uint8_t from = currentLayer().at(std::uint32_t(row), std::uint32_t(column)).tertype;
        if (!fillSpreadsFrom(from, brush))
            Q_EMIT fillStoppedAtFirstCell(from, brush.terrainType);
    }
    // A fill is a step of its own; a stroke's cells join the stroke's step.
    const StepKind kind = fill ? StepKind::Fill : StepKind::Stroke;
    return edit(kind, [&](CellEditor &editor) {
        return PaintAt(editor, brush, m_anchorCell, std::uint16_t(column), std::uint16_t(row), stepProgress());
    });
}

UndoStep EditorSession::announce(const HistoryChange &change)
{
    forgetPathPoint();
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

Reason EditorSession::loadEdgeRules(const QString &path)
{
    TerrainEdgeRulesResult read = readTerrainEdgeRules(path);
    if (!read.ok()) {
        m_edgeRules.reset();
        return read.why;
    }
    m_edgeRules = std::move(read.rules);
    return {};
}

std::size_t EditorSession::fixAllEdges()
{
    if (!m_edgeRules)
        return 0;
    return edit(StepKind::FixEdges, [&](CellEditor &editor) { return applyTerrainEdgesToLevel(editor, *m_edgeRules); });
}

PathLaid EditorSession::layPath(PathLayer layer, std::uint8_t type, QPoint from, QPoint to, bool erase,
                                std::uint8_t fallbackPicture)
{
    if (!levelShown() || from.x() < 0 || from.y() < 0 || to.x() < 0 || to.y() < 0)
        return {};
    // The path is laid with plain pieces; the step's rules stage pieces it
    // and its neighbours after symmetry has copied it.
    static const PathRules noRules;
    const std::vector<CellPosition> cells = pathCells({std::uint16_t(from.x()), std::uint16_t(from.y())},
                                                      {std::uint16_t(to.x()), std::uint16_t(to.y())});
    PathLaid laid;
    laid.changed = edit(StepKind::Path, [&](CellEditor &editor) {
        m_step->pathCells = cells;
        m_step->pathLayer = layer;
        (erase ? m_step->pathTakenOff : m_step->pathLaid) = true;
        return erase ? erasePath(editor, noRules, layer, cells)
                     : ::layPath(editor, noRules, layer, type, cells, fallbackPicture).changed;
    });
    laid.rulesMissing = !erase && type != 0 && !(m_edgeRules && m_edgeRules->paths().hasRules(layer, type));
    m_lastPathPoint = to;
    return laid;
}

std::size_t EditorSession::fixAllPaths()
{
    if (!hasPathRules())
        return 0;
    return edit(StepKind::FixPaths,
                [&](CellEditor &editor) { return applyPathPiecesToLevel(editor, m_edgeRules->paths(), PathLayers); });
}

TransformResult EditorSession::transform(Transform transform, const TransformTarget &target)
{
    if (target.kind == TransformTarget::Kind::Clipboard) {
        closeOpenStep();
        if (m_clipboard.isEmpty())
            return {TransformRefusal{TransformRefusal::Cause::NoCopiedCells, QRect(), 0}};
        m_clipboard.transform(transform);
        return {{}, std::size_t(clipboard().width()) * clipboard().height()};
    }
    if (!levelShown())
        return {TransformRefusal{TransformRefusal::Cause::NoLevelShown, QRect(), 0}};
    // The transform gives the cells that met new neighbours their pictures by
    // the rules itself, as the command-line tool's does.
    const TerrainEdgeRules *rules = m_edgeRules ? &*m_edgeRules : nullptr;
    TransformResult result;
    beginStep(StepKind::Transform);
    const std::size_t first = m_history.undoList().count();
    edit(StepKind::Transform, [&](CellEditor &editor) {
        m_step->transform = transform;
        result = target.kind == TransformTarget::Kind::Level ? transformLevel(editor, transform, rules)
                                                             : transformArea(editor, target.selection, transform, rules);
        return result.changed;
    });
    endStep();
    if (result.ok())
        result.changed = m_history.undoList().count() - first;
    return result;
}

std::size_t EditorSession::mirrorHalf(LevelHalf half)
{
    if (!levelShown())
        return 0;
    const TerrainEdgeRules *rules = m_edgeRules ? &*m_edgeRules : nullptr;
    return edit(StepKind::MirrorHalf, [&](CellEditor &editor) {
        m_step->half = half;
        return ::mirrorHalf(editor, half, rules);
    });
}

bool EditorSession::copy(const QRect &selection)
{
    if (!levelShown())
        return false;
    return m_regionSelection ? m_clipboard.copy(m_document, m_level, *m_regionSelection)
                             : m_clipboard.copy(m_document, m_level, selection);
}

std::size_t EditorSession::paste(int left, int top)
{
    if (!m_document.isLoaded)
        return 0;
    return edit(StepKind::Paste, [&](CellEditor &editor) { return clipboard().paste(editor, left, top); });
}

std::size_t EditorSession::replaceFill(const BrushSettings &brush, int column, int row, bool wholeLevel)
{
    if (!m_document.isLoaded || column < 0 || row < 0)
        return 0;
    // Without symmetry the fill takes its pictures from the rules itself, as
    // the command-line tool's does; with it, the fill writes the types, and
    // the rules stage gives them and their copies their pictures, so that
    // symmetry never copies what the rules did.
    const ReplaceFillOptions options{wholeLevel, m_symmetry == SymmetryMode::Off && m_edgeRules ? &*m_edgeRules : nullptr};
    beginStep(StepKind::ReplaceFill);
    const std::size_t first = m_history.undoList().count();
    const std::size_t filled = edit(StepKind::ReplaceFill, [&](CellEditor &editor) {
        return ::replaceFill(editor, brush, std::uint16_t(column), std::uint16_t(row), options, stepProgress()).changed;
    });
    endStep();
    return filled == 0 ? 0 : m_history.undoList().count() - first;
}

std::size_t EditorSession::selectSame(int column, int row, bool wholeLevel, SelectionChange change)
{
    const TerrainLayer &layer = currentLayer();
    if (!levelShown() || column < 0 || row < 0 || std::uint32_t(std::max(column, row)) >= layer.side())
        return 0;
    return changeRegionSelection(wholeLevel ? RegionSelection::terrainOnLevel(layer, layer.at(row, column).tertype)
                                            : RegionSelection::connectedRegion(layer, column, row),
                                 change, QRect());
}

std::size_t EditorSession::changeRegionSelection(const RegionSelection &cells, SelectionChange change,
                                                 const QRect &rectangle)
{
    if (!levelShown())
        return 0;
    const RegionSelection before = m_regionSelection ? *m_regionSelection
                                                     : RegionSelection::rectangle(rectangle, m_document.mapSize);
    RegionSelection after = before.combined(cells, change);
    if (after.isEmpty()) {
        clearRegionSelection();
        return 0;
    }
    m_regionSelection = std::move(after);
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
    return edit(StepKind::FillSelection,
                [&](CellEditor &editor) { return ::fillSelection(editor, brush, selection, stepProgress()).changed; });
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
