// The status bar: short messages about what just happened, with the whole
// width to themselves; and the readout of the cell under the pointer, the
// size of the selection and the current tool, which the window shows in a row
// of their own so that they never hide a message.
#pragma once

#include "session/Settings.h"
#include "map/TerrainCell.h"

#include <QPoint>
#include <QStatusBar>

#include <cstdint>
#include <optional>

class EditorSession;
class QLabel;

// "12/40  Grass, picture 14  river 2, picture 5  road 1, picture 3  mirror
// 101000  battlefield: Grass": the parts about rivers, roads and mirror bits
// only when the cell has them, the battlefield only when one is given.
QString cellStatusText(const InterfaceTexts &texts, int column, int row, const TerrainCell &cell,
                       const std::optional<QString> &battlefield);

class EditorStatusBar : public QStatusBar {
    Q_OBJECT

public:
    EditorStatusBar(const EditorSession &session, const InterfaceTexts &texts, QWidget *parent = nullptr);

    // The readout of the cell under the pointer, the selection's size and the
    // tool's name, for the window to place.
    QLabel *hoverLabel() const { return m_hover; }
    QLabel *selectionLabel() const { return m_selection; }
    QLabel *toolLabel() const { return m_tool; }
    QString hoverText() const;
    QString selectionText() const;
    QString toolText() const;

public Q_SLOTS:
    // The pointer is over a cell of the current level, or (-1, -1) over none.
    void showCell(QPoint cell);
    // The selection covers columns x rows.
    void showSelection(int columns, int rows);
    // A selection by terrain: so many cells within columns x rows.
    void showRegion(std::size_t cells, int columns, int rows);
    // The name of the current tool.
    void showTool(const QString &name);
    // A message shown for a while.
    void showNote(const QString &text);

private:
    const EditorSession &m_session;
    const InterfaceTexts &m_texts;
    const ObstacleCaptionTexts m_battlefieldNames;
    QLabel *m_hover = nullptr;
    QLabel *m_selection = nullptr;
    QLabel *m_tool = nullptr;
};
