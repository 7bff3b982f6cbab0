// The designed window Form1: the map grid DG and the control panel GB. The
// window builds its parts and wires them: the brush panel (the brush
// controls and the brush they describe), the document controller (opening,
// saving, closing), the tools that own the grid's mouse input, and the
// outlines over the grid. What is left to it are the panel's other controls:
// the level and size lists, the cell label, the undo, copy, paste and
// obstacle buttons, and the panel's own clicks. It owns its controls; the
// session, the settings, the texts and the prompts are the editor's, handed to it.
#pragma once

#include "ui/Form1Design.h"
#include "ui/ToolBox.h"

#include <QPoint>
#include <QSize>
#include <QWidget>

#include <functional>
#include <memory>

class BrushPanel;
class DocumentController;
class EditorContext;
class EditorSession;
class GridOutlines;
class LevelControls;
class PickerTool;
class SelectTool;
class TForm2;
struct BrushSettings;
struct InterfaceTexts;
struct UndoStep;

class TForm1 : public QWidget, private Form1Design {
    Q_OBJECT

public:
    // Runs the start-up: fills every control from the editor's settings and texts.
    explicit TForm1(EditorContext &context, QWidget *parent = nullptr);
    ~TForm1() override;

    // The window's client area as designed, which is also its smallest, and its place.
    static constexpr QSize DesignedClientSize{594, 573};
    static constexpr QPoint DesignedPosition{333, 100};
    static constexpr int PanelWidth = 90;

    bool showConfigNumbers() const { return m_showConfigNumbers; }
    TForm2 *obstacleWindow() const { return m_form2.get(); }
    DocumentController &document() const { return *m_document; }
    BrushPanel &brushPanel() const { return *m_brushPanel; }
    LevelControls &levels() const { return *m_levels; }
    // The brush the panel's controls describe.
    const BrushSettings &brush() const;

    // What follows each auto-scroll step of a left-button drag instead of its
    // 30 ms pause, for a test to count the steps.
    void setScrollPause(std::function<void()> pause);

    // Fits the grid to the client area beside (or, with the panel hidden,
    // without) the panel, so that a grid with scroll bars never shows a partial
    // last column or row.
    void layoutGrid();

    DrawGrid *grid() const { return DG; }
    // The tools of the grid and the current one of the right mouse button.
    ToolBox &tools() { return m_tools; }
    GridTool &currentTool() const { return m_tools.current(); }
    PickerTool &picker() const { return *m_picker; }
    // Ends the gesture of the mouse in progress, if any, as a release would:
    // before any command runs, so that a stroke is one step whatever happens.
    void cancelGesture() { m_tools.cancel(); }

    // ---- Commands, for the panel's buttons and the main window's menus ----
    // Takes back the newest cell of undo (the panel's Undo button).
    void undoOneCell();
    // Takes back, or puts back, the newest step of undo.
    void undoStep();
    void redoStep();
    void BcopycellsClick();
    void BpastecellsClick();
    void BobstaclesClick();
    bool panelVisible() const;
    void setPanelVisible(bool visible);
    void setConfigNumbersShown(bool shown);

Q_SIGNALS:
    // A short message for the status bar.
    void statusMessage(const QString &text);
    void panelToggled(bool visible);
    void configNumbersToggled(bool shown);
    // The pointer is over a cell of the grid, or (-1, -1) over none.
    void cellHovered(QPoint cell);

protected:
    void resizeEvent(QResizeEvent *event) override;
    // The closing rule of the document controller.
    void closeEvent(QCloseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillControls();
    void createParts();
    void connectControls();

    // A map opened: the size list, the grid and the brush start anew.
    void showOpenedMap();
    void showCaption(const QString &fileName);

    // The grid: drawing one cell, and scheduling the repaint of changed ones.
    void DGDrawCell(QPainter &painter, int column, int row, const QRect &rect);
    void repaintCells(int level, const QRect &cells);

    // The cell a press or a drag selected: the panel's label, the anchor and
    // the obstacle window follow it.
    void DGSelectCell(int column, int row);
    // The panel's label: the cell last selected and the selection as it is now.
    void showCellInfo();
    void showRefusal(const QString &reason);

    // The panel and the window's bare area.
    void focusUndoButton();
    // The middle button: hides or shows the panel, once a map is open.
    void togglePanel();
    // A press on the panel itself, not on one of its controls.
    void panelPressed(Qt::MouseButton button);
    // FormMouseWheelDown and FormMouseWheelUp: one step per notch.
    void FormMouseWheel(QWheelEvent *event);

    void SetUndoCount(std::size_t count);
    // Switches to the level of a restored cell, scrolls it into view and repaints it.
    void showRestored(const UndoStep &step);

    EditorContext &m_context;
    EditorSession &m_session;
    const InterfaceTexts &m_texts;
    std::unique_ptr<TForm2> m_form2;
    BrushPanel *m_brushPanel = nullptr;
    DocumentController *m_document = nullptr;
    GridOutlines *m_outlines = nullptr;
    LevelControls *m_levels = nullptr;
    ToolBox m_tools;
    PickerTool *m_picker = nullptr;
    std::unique_ptr<SelectTool> m_selectTool;
    QPoint m_infoCell{-1, -1};  // the cell the panel's label describes
    bool m_showConfigNumbers = false;
};
