// The status bar's texts.
#include "ui/EditorStatusBar.h"

#include "session/EditorSession.h"
#include "obstacles/BattlefieldChoice.h"

#include <QLabel>

namespace {
constexpr int NoteMilliseconds = 8000;
}  // namespace

QString cellStatusText(const InterfaceTexts &texts, int column, int row, const TerrainCell &cell,
                       const std::optional<QString> &battlefield)
{
    const QString terrain =
        cell.tertype < texts.terrain.size() ? texts.terrain[cell.tertype] : QString::number(cell.tertype);
    QStringList parts{QStringLiteral("%1/%2").arg(column).arg(row), texts.stterrain.arg(terrain).arg(cell.terconf)};
    if (cell.rivtype != 0)
        parts << texts.striver.arg(cell.rivtype).arg(cell.rivconf);
    if (cell.roadtype != 0)
        parts << texts.stroad.arg(cell.roadtype).arg(cell.roadconf);
    if (cell.mirror != 0) {
        QString bits;
        for (int bit = 0; bit < 8; ++bit)
            bits += (cell.mirror >> bit) & 1 ? u'1' : u'0';
        parts << texts.stmirror.arg(bits);
    }
    if (battlefield)
        parts << texts.stbattlefield.arg(*battlefield);
    return parts.join(QStringLiteral("  "));
}

EditorStatusBar::EditorStatusBar(const EditorSession &session, const InterfaceTexts &texts, QWidget *parent)
    : QStatusBar(parent)
    , m_session(session)
    , m_texts(texts)
    , m_battlefieldNames(obstacleCaptionTexts(texts))
    , m_hover(new QLabel)
    , m_selection(new QLabel)
    , m_tool(new QLabel)
{
    setObjectName(QStringLiteral("statusBar"));
    m_hover->setObjectName(QStringLiteral("hoverLabel"));
    // The readout takes the row's width and never asks for more than the window has.
    m_hover->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_hover->setMinimumWidth(1);
    m_selection->setObjectName(QStringLiteral("selectionLabel"));
    m_tool->setObjectName(QStringLiteral("toolLabel"));
}

QString EditorStatusBar::hoverText() const
{
    return m_hover->text();
}

QString EditorStatusBar::selectionText() const
{
    return m_selection->text();
}

void EditorStatusBar::showCell(QPoint cell)
{
    const MapDocument &map = m_session.document();
    const TerrainLayer &layer = m_session.currentLayer();
    if (!map.isLoaded || cell.x() < 0 || cell.y() < 0 || std::uint32_t(cell.x()) >= layer.side()
        || std::uint32_t(cell.y()) >= layer.side()) {
        m_hover->clear();
        return;
    }
    std::optional<QString> battlefield;
    if (m_session.catalogue().isOn()) {
        const std::optional<std::uint8_t> code =
            battlefieldOfCell(layer, std::uint32_t(cell.x()), std::uint32_t(cell.y()), m_session.layerLevel());
        battlefield = battlefieldName(m_battlefieldNames, code.value_or(NoBattlefield));
    }
    m_hover->setText(cellStatusText(m_texts, cell.x(), cell.y(),
                                    layer.at(std::uint32_t(cell.y()), std::uint32_t(cell.x())), battlefield));
}

QString EditorStatusBar::toolText() const
{
    return m_tool->text();
}

void EditorStatusBar::showTool(const QString &name)
{
    m_tool->setText(m_texts.sttool.arg(name));
}

void EditorStatusBar::showSelection(int columns, int rows)
{
    m_selection->setText(m_texts.stselection.arg(columns).arg(rows));
}

void EditorStatusBar::showRegion(std::size_t cells, int columns, int rows)
{
    m_selection->setText(m_texts.counted(m_texts.stregion, cells).arg(columns).arg(rows));
}

void EditorStatusBar::showNote(const QString &text)
{
    showMessage(text, NoteMilliseconds);
}
