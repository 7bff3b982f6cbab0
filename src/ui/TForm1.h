// The designed window Form1: the map grid DG and the control panel GB. The
// window reads its controls into the brush of its paint tool and into the
// obstacle choice, routes the grid's mouse events to its tools, runs the editor
// session's operations from its handlers, and shows what the session announces.
// It owns its controls and the panel's state; the session, the settings, the
// texts and the prompts are the editor's, handed to it.
#pragma once

#include "edit/BrushSettings.h"
#include "ui/BrushControls.h"
#include "ui/GridTool.h"
#include "ui/ToolBox.h"
#include "ui/UserPrompts.h"

#include <QPoint>
#include <QSize>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class DrawGrid;
class EditorContext;
class EditorSession;
class PaintTool;
class SelectTool;
class QComboBox;
class QGroupBox;
class PickerTool;
class QLabel;
class QListWidget;
class QPushButton;
class TForm2;
struct InterfaceTexts;
struct Settings;
struct UndoStep;

class TForm1 : public QWidget {
    Q_OBJECT

public:
    // Runs the start-up: fills every control from the editor's settings and texts.
    explicit TForm1(EditorContext &context, QWidget *parent = nullptr);
    ~TForm1() override;

    // The program's version and author, shown in the about prompt, and the
    // author's web page it offers to open.
    static constexpr const char *Version = BRACKWEN_VERSION;
    static constexpr const char *Author = "Ostrel";
    static constexpr const char *WebPage = "https://brackwen.example.org/";

    // The window's client area as designed, which is also its smallest, and its place.
    static constexpr QSize DesignedClientSize{594, 573};
    static constexpr QPoint DesignedPosition{333, 100};
    static constexpr int PanelWidth = 90;

    bool showConfigNumbers() const { return m_showConfigNumbers; }
    TForm2 *obstacleWindow() const { return m_form2.get(); }

    // The pause after each auto-scroll step of a left-button drag (30 ms).
    void setScrollPause(std::function<void()> pause);

    // Fits the grid to the client area beside (or, with the panel hidden,
    // without) the panel, so that a grid with scroll bars never shows a partial
    // last column or row.
    void layoutGrid();

    DrawGrid *grid() const { return DG; }
    // The tools of the right mouse button and the current one.
    ToolBox &tools() { return m_tools; }
    GridTool &currentTool() const { return m_tools.current(); }
    PickerTool &picker() const { return *m_picker; }
    // The brush the panel's controls describe.
    const BrushSettings &brush() const { return m_brush; }
    // Puts a cell's terrain, picture, river, road and mirror bits into the
    // panel's controls (the picker).
    void pickCell(QPoint cell);
    // "[" and "]": the brush one cell smaller (-1) or larger (+1) on both sides.
    void stepBrushSize(int step);
    // Ends the gesture of the mouse in progress, if any, as a release would:
    // before any command runs, so that a stroke is one step whatever happens.
    void cancelGesture();
    // The folder the open dialog starts in; empty: the game's maps folder.
    void setDialogFolder(const QString &folder) { m_dialogFolder = folder; }

    // ---- Commands, for the panel's buttons and the main window's menus ----
    // The open command on a file; an empty name asks the open dialog.
    void openMapFile(const QString &fileName);
    // Saves to the map's own file without a dialog (with it when there is none).
    bool saveToCurrentFile();
    // The save command: the save dialog, then the save; true when saved.
    bool BsaveClick();
    void BundoClick();
    // Takes back, or puts back, the newest step of undo.
    void undoStep();
    void redoStep();
    void BcopycellsClick();
    void BpastecellsClick();
    void BobstaclesClick();
    // Chooses a level as the level list does.
    void chooseLevel(int level);
    // Switches to the other level keeping the first visible column and row.
    void otherLevelHere();
    bool panelVisible() const;
    void setPanelVisible(bool visible);
    void setConfigNumbersShown(bool shown);
    // The about prompt; Yes opens the author's web page.
    UserPrompts::AboutAnswer showAbout();
    // The closing rule: the save prompt, then the about prompt when the
    // settings ask for it; false when closing is called off. Releases the
    // resources when it may go on.
    bool FormClose();

Q_SIGNALS:
    // A short message for the status bar.
    void statusMessage(const QString &text);
    void panelToggled(bool visible);
    void configNumbersToggled(bool shown);
    // The pointer is over a cell of the grid, or (-1, -1) over none.
    void cellHovered(QPoint cell);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;  // FormClose
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void fillControls();
    void connectControls();

    // Opening and saving maps.
    void BopenClick();
    bool saveTo(const QString &fileName);
    void showCaption(const QString &fileName);
    void showMapError(const QString &reason);
    // Offers to save unsaved edits; false when the calling operation is to
    // stop (the user cancelled, or the save did not happen).
    bool askToSave();
    void fillSizeList();

    // Level and size.
    void selectLevel();
    void CBmapsizeChange();

    // The grid: drawing one cell, and scheduling the repaint of changed ones.
    void DGDrawCell(QPainter &painter, int column, int row, const QRect &rect);
    void repaintCells(int level, const QRect &cells);
    void showLevel(bool shown);

    // Picking cells: the grid's mouse events go to the tools.
    void DGMouseDown(const GridEvent &event);
    void DGMouseMove(const GridEvent &event, QPoint position);
    void DGMouseUp(const GridEvent &event);
    void DGSelectCell(int column, int row);
    // The panel's label: the cell last picked and the selection as it is now.
    void showCellInfo();
    void FormMouseUp(Qt::MouseButton button);
    void GBMouseDown(Qt::MouseButton button);
    // FormMouseWheelDown and FormMouseWheelUp: one step per notch.
    void FormMouseWheel(QWheelEvent *event);

    // Painting, undo, copy and paste.
    void CBChange(const QObject *sender);
    void updateBrushPreview();
    // The pointer is at a point of the grid's viewport, or has left it.
    void hoverAt(std::optional<QPoint> position);
    // Shows anew what is under the pointer: after a scroll or an edit the cell
    // or its contents there may have changed.
    void refreshHover();
    void showBrushOutline();
    void showPasteOutline();
    void SetUndoCount(std::size_t count);
    // Switches to the level of a restored cell, scrolls it into view and repaints it.
    void showRestored(const UndoStep &step);


    EditorContext &m_context;
    EditorSession &m_session;
    Settings &m_settings;
    const InterfaceTexts &m_texts;
    std::unique_ptr<TForm2> m_form2;
    PressRule m_pressRule;
    BrushSettings m_brush;
    BrushControls m_brushControls;
    ToolBox m_tools;
    PickerTool *m_picker = nullptr;
    std::unique_ptr<SelectTool> m_selectTool;
    int m_mapSizeIndex = 0;   // the size list's item since the open or the last size change
    QString m_dialogFolder;
    std::optional<QPoint> m_hoverPoint;  // the pointer in the grid's viewport
    QPoint m_hoverCell{-1, -1};
    QPoint m_infoCell{-1, -1};  // the cell the panel's label describes
    bool m_showConfigNumbers = false;

    DrawGrid *DG = nullptr;
    QGroupBox *GB = nullptr;
    QPushButton *Bopen = nullptr;
    QPushButton *Bsave = nullptr;
    QComboBox *CBlevel = nullptr;
    QComboBox *CBbrushx = nullptr;
    QComboBox *CBbrushy = nullptr;
    QComboBox *CBterconf = nullptr;
    QComboBox *CBtertype = nullptr;
    QComboBox *CBrivtype = nullptr;
    QComboBox *CBroadtype = nullptr;
    QComboBox *CBrivconf = nullptr;
    QLabel *tileimage = nullptr;
    QComboBox *CBroadconf = nullptr;
    QListWidget *LBmirror = nullptr;
    QComboBox *CBmirror = nullptr;
    QPushButton *Bundo = nullptr;
    QPushButton *Bcopycells = nullptr;
    QPushButton *Bpastecells = nullptr;
    QComboBox *CBmapsize = nullptr;
    QPushButton *Bobstacles = nullptr;
    QComboBox *CBobstter = nullptr;
    QComboBox *CBobstx = nullptr;
    QComboBox *CBobsty = nullptr;
    QLabel *Linfo = nullptr;
};
