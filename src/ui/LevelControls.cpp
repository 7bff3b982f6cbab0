// Choosing the level and the map's size.
#include "ui/LevelControls.h"

#include "session/EditorSession.h"
#include "ui/DrawGrid.h"
#include "ui/EditorContext.h"

#include <QComboBox>
#include <QStyledItemDelegate>

LevelControls::LevelControls(QComboBox &level, QComboBox &size, DrawGrid &grid, EditorContext &context,
                             QWidget &window)
    : QObject(&window)
    , CBlevel(level)
    , CBmapsize(size)
    , DG(grid)
    , m_context(context)
    , m_window(window)
{
    const InterfaceTexts &t = context.texts;
    CBmapsize.setToolTip(t.cbmapsize);
    CBlevel.setToolTip(t.cbmaplvl);
    CBlevel.addItems({t.maplvl_gnd, t.maplvl_str});
    // An owner-draw list with items of height 16: a plain item delegate takes
    // the height from the items (the combo's own one asks the style).
    CBlevel.setItemDelegate(new QStyledItemDelegate(&CBlevel));
    for (int i = 0; i < CBlevel.count(); ++i)
        CBlevel.setItemData(i, QSize(0, 16), Qt::SizeHintRole);
    CBlevel.setCurrentIndex(0);

    // Only the user's choices run the handlers, never the programme's own changes.
    connect(&CBlevel, &QComboBox::activated, this, &LevelControls::selectLevel);
    connect(&CBmapsize, &QComboBox::activated, this, &LevelControls::CBmapsizeChange);
    connect(&context.session, &EditorSession::levelChanged, this, [this](int, bool shown) { showLevel(shown); });
}

void LevelControls::fillSizeList()
{
    CBmapsize.clear();
    CBmapsize.addItem(m_context.texts.notchange);
    CBmapsize.setCurrentIndex(0);
    QStringList sizes;
    const SizeSteps &steps = m_context.session.sizeSteps();
    for (int j = 1; j <= steps.count; ++j)
        sizes << QStringLiteral("%1x%1").arg(j * steps.step);
    CBmapsize.addItems(sizes);
    m_mapSizeIndex = 0;
    CBmapsize.setCurrentIndex(0);
}

void LevelControls::selectLevel()
{
    m_context.session.selectLevel(CBlevel.currentIndex());
}

void LevelControls::showLevel(bool shown)
{
    const int side = int(m_context.session.document().mapSize);
    DG.setDimensions(side, side);
    DG.setLeftCol(0);
    DG.setTopRow(0);
    // Level 1 of a one-level map hides the grid.
    DG.setVisible(shown);
    if (shown)
        DG.viewport()->update();
    else
        Q_EMIT statusMessage(m_context.texts.msgnounderground);
}

void LevelControls::chooseLevel(int level)
{
    if (!m_context.session.document().isLoaded)
        return;
    CBlevel.setCurrentIndex(level);
    selectLevel();
}

void LevelControls::otherLevelHere()
{
    const MapDocument &document = m_context.session.document();
    if (!document.isLoaded)
        return;
    if (!document.hasUnderground) {
        Q_EMIT statusMessage(m_context.texts.msgnounderground);
        return;
    }
    const int left = DG.leftCol();
    const int top = DG.topRow();
    chooseLevel(m_context.session.level() == 1 ? 0 : 1);
    DG.setLeftCol(left);
    DG.setTopRow(top);
}

void LevelControls::CBmapsizeChange()
{
    EditorSession &session = m_context.session;
    const InterfaceTexts &texts = m_context.texts;
    const int index = CBmapsize.currentIndex();
    const MapDocument &document = session.document();
    if (!document.isLoaded || index <= 0)
        return;
    const std::uint32_t side = std::uint32_t(index) * session.sizeSteps().step;
    // A smaller size that would cut away painted cells asks first; nothing undoes it.
    if (side < document.mapSize && session.wouldCutCells(side)
        && !m_context.prompts().confirm(&m_window, texts.title, texts.sizecut.arg(side), m_context.promptButtons())) {
        CBmapsize.setCurrentIndex(m_mapSizeIndex);
        return;
    }
    if (!session.resize(side)) {
        CBmapsize.setCurrentIndex(m_mapSizeIndex);
        m_context.prompts().showError(&m_window, texts.title, texts.nomemory.arg(side));
        return;
    }
    m_mapSizeIndex = index;
}
