// The editor's session: the open map and everything done with it, without
// widgets. It owns the document, its undo list and file name, the cell
// clipboard, the tile pictures and the obstacle catalogue, runs the editing
// operations on them and announces every change; the windows call its
// operations and listen to its notices.
#pragma once

#include "base/Reason.h"
#include "edit/CellPosition.h"
#include "edit/EditHistory.h"
#include "edit/PathLaying.h"
#include "edit/RegionSelection.h"
#include "edit/SizeChange.h"
#include "edit/Symmetry.h"
#include "edit/Transforms.h"
#include "edit/UndoStep.h"
#include "gfx/TileSprites.h"
#include "journal/EditJournal.h"
#include "map/MapDocument.h"
#include "map/MapFile.h"
#include "map/MapSave.h"
#include "obstacles/BattlefieldChoice.h"
#include "obstacles/ObstacleCatalogue.h"
#include "obstacles/ObstacleView.h"
#include "rules/TerrainEdgeRules.h"
#include "session/ClipboardModel.h"
#include "session/EditStep.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

struct BrushSettings;
struct Settings;
class CellEditor;

// How opening a map file ended.
struct MapOpenResult {
    Reason why;      // why the file was refused; none when it is open
    QString reason;  // why in English

    MapOpenResult() = default;
    MapOpenResult(const Reason &refusal) : why(refusal), reason(refusal.english()) {}
    bool ok() const { return why.isEmpty(); }
};

// What a transform works on: the whole current level, a rectangle of it
// (inclusive cell numbers), or the copied block.
struct TransformTarget {
    enum class Kind { Level, Selection, Clipboard };
    Kind kind = Kind::Level;
    QRect selection;
};

class EditorSession : public QObject {
    Q_OBJECT

public:
    explicit EditorSession(QObject *parent = nullptr);
    ~EditorSession() override;

    const MapDocument &document() const { return m_document; }
    const UndoList &undoList() const { return m_history.undoList(); }
    const EditHistory &history() const { return m_history; }
    const CellClipboard &clipboard() const { return m_clipboard.cells(); }
    // The copied cells' holder, whose notice says when they change.
    const ClipboardModel &clipboardModel() const { return m_clipboard; }
    // The tile pictures while they are in use, else null (plain colours).
    const TileSprites *sprites() const { return m_sprites.spritesLoaded() ? &m_sprites : nullptr; }
    const ObstacleCatalogue &catalogue() const { return m_catalogue; }
    const ObstacleView &obstacleView() const { return m_obstacleView; }
    // The file the map was opened from or last saved to.
    const QString &fileName() const { return m_fileName; }
    // Unsaved edits: the cells differ from what was opened or last saved
    // (undo and redo count as edits, so undoing back to it is clean), or the
    // size changed since.
    bool hasUnsavedChanges() const
    {
        return m_document.isLoaded && !m_history.isAtSavedState();
    }
    // The chosen level, 0 ground or 1 underground; the map may lack it.
    int level() const { return m_level; }
    // A map is open and its chosen level exists: there are cells to show and edit.
    bool levelShown() const { return m_document.isLoaded && m_document.hasLevel(m_level); }
    // The level whose cells are shown, read and edited: the chosen one, or
    // the ground while the chosen one is missing; and its layer.
    int layerLevel() const { return m_document.hasLevel(m_level) ? m_level : 0; }
    const TerrainLayer &currentLayer() const { return m_document.layer(layerLevel()); }
    // The sides the map-size list offers for the open map, chosen by the side
    // it was opened with.
    const SizeSteps &sizeSteps() const { return m_sizeSteps; }
    // True while the map's side changes: the layers are not to be read.
    bool isResizing() const { return m_resizing; }

    // The cell the user last selected or pressed: the fill's anchor and the
    // cell whose battlefield the obstacle window shows.
    CellPosition anchorCell() const { return m_anchorCell; }
    void setAnchorCell(CellPosition cell) { m_anchorCell = cell; }

    // ---- Files ----
    // Loads the tile pictures once, before the first open; the source's mode
    // may fall back from the archive to the "defs" folder.
    TileLoadResult loadSprites(TileSpriteSource &source);
    const QString &spriteLoadError() const { return m_sprites.loadError(); }
    // Loads the tile pictures before the first open, as the settings say. When
    // they cannot be had the settings turn to plain colours for this run and
    // the reason (the file and why) is returned; none when all is well.
    Reason prepareSprites(Settings &settings);
    // Opens a map file: gives the file its plain attributes, reads it, and on
    // success replaces the open map (keeping the chosen level) and forgets
    // the undo records. A refused file changes nothing; the reason says why.
    MapOpenResult open(const QString &fileName);
    // Saves the open map to a file, which becomes the map's file on success.
    MapSaveResult save(const QString &fileName);
    // How saves keep the file they replace (the backup preference) and where
    // their safety copies go.
    void setSaveOptions(const MapSaveOptions &options) { m_saveOptions = options; }

    // ---- Level and size ----
    // Chooses level 0 or 1; false when the map has no such level (the
    // current layer then stays where it was).
    bool selectLevel(int level);
    // True when making the map this small would cut away cells that are not zero.
    bool wouldCutCells(std::uint32_t side) const { return m_document.hasCellsOutside(side); }
    // Re-dimensions the map as a step of the history (undo restores the side
    // and the cut cells); false, with nothing changed, when the memory cannot
    // be had.
    bool resize(std::uint32_t side);

    // ---- Editing the current level ----
    // A step of undo: what one gesture changes (a stroke from press to
    // release; a fill or a paste is a step by itself). A step is opened with
    // its kind, which decides how it is shown while it works and what its
    // stages do: after each operation inside it, symmetry copies what the
    // operation wrote, then the rules give pictures to the cells whose bytes
    // changed (see edit/StepStages.h); closing it keeps one undo record per
    // changed cell and hands it to the journal (stepRecorded). Opening a step
    // closes one still open, and so does every other operation, so a step
    // never takes in what another command did.
    void beginStep(StepKind kind = StepKind::Stroke);
    void endStep();
    std::size_t paint(const BrushSettings &brush, int column, int row);
    // Takes back the newest undo record, whichever level it belongs to; the
    // cell can be redone.
    UndoStep undoLast();
    // Takes back, or puts back, the newest step; the result names the step's
    // first cell.
    UndoStep undoStep();
    UndoStep redoStep();
    // Copies the selection of the current level: the region selection's cells
    // when there is one, else the rectangle (inclusive cell numbers).
    bool copy(const QRect &selection);
    // Pastes the copied block with its top-left cell at (left, top).
    std::size_t paste(int left, int top);

    // ---- The map maker's tools ----
    // Fills the region of the cell's terrain type (or, with wholeLevel, every
    // cell of that type) with the brush's terrain whatever the picture counts,
    // as one step; pictures come from the edge rules when they are loaded.
    std::size_t replaceFill(const BrushSettings &brush, int column, int row, bool wholeLevel);
    // The cells selected by terrain type ("select same"), if any; Copy and
    // Fill selection use them instead of the rectangle.
    const std::optional<RegionSelection> &regionSelection() const { return m_regionSelection; }
    // Selects the region of the cell's terrain type, or with wholeLevel every
    // cell of that type on the level, in place of the region selection or
    // added to it or taken out of it; the number of cells selected.
    std::size_t selectSame(int column, int row, bool wholeLevel, SelectionChange change = SelectionChange::Replace);
    // Changes the region selection by the cells; without one, the change
    // starts from the rectangle (inclusive cell numbers). A selection left
    // empty is cleared. The number of cells selected.
    std::size_t changeRegionSelection(const RegionSelection &cells, SelectionChange change, const QRect &rectangle);
    void clearRegionSelection();
    // Writes the brush into every selected cell (the region selection, else
    // the rectangle of inclusive cell numbers) as one step, edges included
    // when the edge brush is on.
    std::size_t fillSelection(const BrushSettings &brush, const QRect &rectangle);

    // ---- Terrain edges ----
    // Reads the edge rules file; the reason of a refusal (with its line), or empty.
    Reason loadEdgeRules(const QString &path);
    bool hasEdgeRules() const { return m_edgeRules.has_value(); }
    // The rules read, or null.
    const TerrainEdgeRules *edgeRules() const { return m_edgeRules ? &*m_edgeRules : nullptr; }
    bool edgeBrush() const { return m_edgeBrush; }
    void setEdgeBrush(bool on) { m_edgeBrush = on; }
    // Applies the edge rules to every cell of the current level as one step.
    std::size_t fixAllEdges();

    // ---- Rivers and roads ----
    // True when the rules file has river or road sections.
    bool hasPathRules() const { return m_edgeRules && !m_edgeRules->paths().isEmpty(); }
    // Lays the path of the type (or with erase takes the layer's path off)
    // along the straight line of side-joined cells from one cell to another,
    // mending the neighbours by the rules; one call per move of a drag, inside
    // the step the tool opened (a call outside a step is a step by itself).
    // rulesMissing says the type has no rules and kept the fallback picture.
    PathLaid layPath(PathLayer layer, std::uint8_t type, QPoint from, QPoint to, bool erase,
                     std::uint8_t fallbackPicture);
    // Where a Shift+click path starts: the cell laid last on this map and
    // level, until a map is opened, the level changes, the history moves or
    // forgetPathPoint() is called (the tool changed); (-1, -1) when none.
    QPoint lastPathPoint() const { return m_lastPathPoint; }
    void forgetPathPoint() { m_lastPathPoint = {-1, -1}; }
    // Applies the river and road rules to every cell of the current level as
    // one step; the number of cells whose pictures changed.
    std::size_t fixAllPaths();

    // ---- Symmetry and transforms ----
    // Every later edit of the current level is written at its mirrored
    // places too, in the same step, edges and path pieces included.
    SymmetryMode symmetry() const { return m_symmetry; }
    void setSymmetry(SymmetryMode mode)
    {
        if (mode == m_symmetry)
            return;
        m_symmetry = mode;
        Q_EMIT symmetryChanged(mode);
    }
    // Flips or turns the level or the selection as one step (the edge rules,
    // when loaded, then give the cells that met new neighbours their
    // pictures), or the copied block with no step; the refusal names why
    // nothing happened (a quarter turn of a selection that is not square).
    TransformResult transform(Transform transform, const TransformTarget &target);
    // Copies the half of the level onto the other half, mirrored, as one step.
    std::size_t mirrorHalf(LevelHalf half);

    // ---- Obstacles ----
    void loadCatalogue(const ObstacleCatalogueOptions &options);
    // Decides what the obstacle window shows for a request; applies and
    // announces the choice, if any.
    void chooseObstacles(ObstacleRequest request);

    // ---- Recovery ----
    // Writes cells through a cell editor as one closed step of their own,
    // with neither symmetry nor the rules (edits replayed from a journal),
    // announced as edits are; write returns why it stopped, empty when it
    // wrote everything, and the step keeps what it wrote either way.
    // The kind names the step in the history (a generated level's step is Generate).
    QString replayStep(const std::function<QString(MapDocument &document, CellEditor &editor)> &write,
                       StepKind kind = StepKind::Replay);
    // Leaves the open map without a file (it was recovered onto a file that
    // changed since): the next save asks for a name.
    void forgetFileName();

    // Releases the catalogue and the tile pictures (on closing).
    void releaseResources();

    // Long work (opening, saving, changing the size) reports its progress
    // through a callback the window gives for each piece of work.
    using Work = EditWork;
    using ProgressFactory = std::function<ProgressCallback(Work work, const QString &fileName)>;
    void setProgressFactory(ProgressFactory factory) { m_progressFactory = std::move(factory); }

Q_SIGNALS:
    // A new map is open.
    void mapOpened();
    // Cells of a level changed within a rectangle of cell numbers: one notice
    // per operation, however many cells it wrote; under symmetry one for each
    // quarter of the level the operation and its copies wrote in.
    void cellsChanged(int level, const QRect &cells);
    // The chosen level changed, or the grid must show the level anew (after a
    // size change); shown is false when the map has no such level.
    void levelChanged(int level, bool shown);
    // The map's side changed.
    void mapResized(int side);
    // The map's file changed: a map was opened, or saved to another file.
    void fileNameChanged(const QString &fileName);
    // The map came to have unsaved changes, or no longer has any.
    void modifiedChanged(bool modified);
    // The number of undo records changed.
    void undoCountChanged(std::size_t count);
    // What can be undone or redone, or the saved state, changed.
    void historyChanged();
    // A fill painted only its first cell: the two terrain types have a
    // different number of pictures.
    void fillStoppedAtFirstCell(int fromType, int toType);
    // A step closed with the undo records [firstRecord, endRecord) of undoList():
    // a stroke, a fill, a paste or a whole-level operation, its edges included;
    // the label says which.
    void stepRecorded(std::size_t firstRecord, std::size_t endRecord, const StepLabel &label);
    // Undo, redo, a single cell taken back, or a size change moved the history.
    void historyMoved(const HistoryChange &change);
    // The map was saved to the file.
    void mapSaved(const QString &fileName);
    // The symmetry that edits are mirrored under changed.
    void symmetryChanged(SymmetryMode mode);
    // The region selection changed (made, or cleared).
    void regionSelectionChanged();
    // The obstacle view changed: show the window, or say there is no battlefield.
    void obstacleViewChanged(ObstacleChoice::Action action);

private:
    // Runs one editing operation through a cell editor as a part of the open
    // step (a step of the kind of its own, closed after it, when no step of
    // that kind is open), then the step's symmetry and rules stages on what
    // it wrote; announces the rectangle of cells changed once.
    template <typename Operation>
    std::size_t edit(StepKind kind, Operation &&operation);
    // The progress of the open step's work, made when first asked for, so a
    // gesture's step shows nothing until it works.
    const ProgressCallback &stepProgress();
    // Announces what a step of the history wrote.
    UndoStep announce(const HistoryChange &change);
    // Runs a change of the history (undo, redo, a size change) after closing
    // an open step, with the progress of that kind of work.
    template <typename Change>
    HistoryChange changeHistory(Work work, Change &&change);
    // Announces that what can be undone or redone, or the saved state, may have changed.
    void announceHistory();
    // Closes a step left open by a gesture before another operation runs.
    void closeOpenStep();
    // Runs the symmetry and rules stages of the open step on the records the
    // operations wrote from firstRecord on.
    void runStages(CellEditor &editor, std::size_t firstRecord);
    // Announces what an editor wrote on the current level, the undo records
    // from firstRecord on being its writes.
    void announceEdits(const CellEditor &editor, std::size_t firstRecord);

    ProgressCallback progressFor(Work work, const QString &fileName = QString()) const;

    MapDocument m_document;
    EditHistory m_history;
    int m_level = 0;
    SizeSteps m_sizeSteps;
    bool m_resizing = false;
    // The open step: its kind, the undo records before it, and the progress
    // shown while it lasts.
    struct OpenStep {
        StepKind kind;
        std::size_t start = 0;
        ProgressCallback progress;
        int operations = 0;  // operations run in it so far
        // The records its stages wrote, folded into the operations' records as it closes.
        std::vector<EditHistory::RecordRange> stageRecords;
        // The cells the last operation's path went over, whether or not it
        // wrote them, for the rules to mend, and their layer.
        std::vector<CellPosition> pathCells;
        PathLayer pathLayer = PathLayer::Road;
        // Whether its paths were taken off, laid, or both, for the step's name.
        bool pathTakenOff = false;
        bool pathLaid = false;
        // Which transform, or which half mirrored, for the step's name.
        Transform transform = Transform::FlipHorizontal;
        LevelHalf half = LevelHalf::Left;
    };
    std::optional<OpenStep> m_step;
    QPoint m_lastPathPoint{-1, -1};
    SymmetryMode m_symmetry = SymmetryMode::Off;
    bool m_modified = false;      // as last announced
    std::optional<TerrainEdgeRules> m_edgeRules;
    bool m_edgeBrush = false;
    ProgressFactory m_progressFactory;
    ClipboardModel m_clipboard;
    std::optional<RegionSelection> m_regionSelection;
    TileSprites m_sprites;
    ObstacleCatalogue m_catalogue;
    ObstacleView m_obstacleView;
    CellPosition m_anchorCell;
    QString m_fileName;
    MapSaveOptions m_saveOptions;
};
