// The editor's session: operations on the open map and their notices.
#include "app/EditorSession.h"

#include "base/Platform.h"
#include "edit/BrushSettings.h"
#include "edit/CellEditor.h"
#include "edit/PaintAt.h"

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
    MapLoadResult loaded = readMapFile(fileName);
    if (!loaded.ok())
        return {std::move(loaded.reason)};
    adoptLoadedMap(m_document, std::move(*loaded.document));
    m_fileName = fileName;
    m_undoList.clear();
    Q_EMIT mapOpened();
    Q_EMIT undoCountChanged(0);
    return {};
}

MapSaveResult EditorSession::save(const QString &fileName)
{
    MapSaveResult saved = saveMapFile(m_document, fileName);
    if (saved.ok())
        m_fileName = fileName;
    return saved;
}

bool EditorSession::selectLevel(int level)
{
    if (!m_document.isLoaded)
        return false;
    m_document.currentLevel = std::uint8_t(level == 1 ? 1 : 0);
    // Level 1 of a one-level map leaves the current layer as it was.
    const bool shown = m_document.pointCurrentLayerAt(m_document.currentLevel);
    Q_EMIT levelChanged(m_document.currentLevel, shown);
    return shown;
}

bool EditorSession::resize(std::uint32_t side)
{
    // While the layers change, the grid's selection notices are not about cells.
    m_document.isResizing = true;
    if (!m_document.redimension(side)) {
        m_document.isResizing = false;
        return false;
    }
    m_document.sizeChanged = true;
    Q_EMIT mapResized(int(side));
    selectLevel(m_document.currentLevel);
    m_document.isResizing = false;
    return true;
}

template <typename Operation>
std::size_t EditorSession::edit(Operation &&operation)
{
    QRect changed;
    CellEditor editor(m_document, m_undoList, [&changed](std::uint16_t column, std::uint16_t row) {
        changed |= QRect(column, row, 1, 1);
    });
    const std::size_t count = operation(editor);
    if (count > 0) {
        Q_EMIT cellsChanged(m_document.currentLayerLevel(), changed);
        Q_EMIT undoCountChanged(m_undoList.count());
    }
    return count;
}

std::size_t EditorSession::paint(const BrushSettings &brush, int column, int row)
{
    return edit([&](CellEditor &editor) {
        return PaintAt(editor, brush, m_anchorCell, std::uint16_t(column), std::uint16_t(row));
    });
}

UndoStep EditorSession::undoLast()
{
    const UndoStep step = ::undoLast(m_document, m_undoList);
    if (step.outcome == UndoStep::Outcome::Nothing)
        return step;
    if (step.outcome == UndoStep::Outcome::Restored)
        Q_EMIT cellsChanged(step.level, QRect(step.column, step.row, 1, 1));
    Q_EMIT undoCountChanged(m_undoList.count());
    return step;
}

bool EditorSession::copy(const QRect &selection)
{
    return m_document.isLoaded && m_clipboard.copy(m_document, selection);
}

std::size_t EditorSession::paste(int left, int top)
{
    if (!m_document.isLoaded)
        return 0;
    return edit([&](CellEditor &editor) { return m_clipboard.paste(editor, left, top); });
}

void EditorSession::loadCatalogue(const ObstacleCatalogueOptions &options)
{
    m_catalogue = ObstacleCatalogue::load(options);
}

void EditorSession::chooseObstacles(ObstacleRequest request)
{
    request.featureOn = m_catalogue.isOn();
    request.map = m_document.isLoaded ? &m_document : nullptr;
    request.anchorColumn = m_anchorCell.column;
    request.anchorRow = m_anchorCell.row;
    const std::optional<ObstacleChoice> choice = chooseObstacleView(request, m_obstacleView);
    if (!choice)
        return;
    m_obstacleView = choice->view;
    Q_EMIT obstacleViewChanged(choice->action);
}

void EditorSession::releaseResources()
{
    m_catalogue = ObstacleCatalogue();
    if (m_sprites.spritesLoaded())
        m_sprites.release();
}
