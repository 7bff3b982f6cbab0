// The map grid: a scrolling grid of square cells (32 pixels a side unless
// told otherwise) that draws no cells of its own but asks its cell delegate to
// draw each visible cell, with outlines and symmetry guides over them; it
// keeps a current cell and a rectangular selection (the keys move them; the
// tools, through selectCell), and turns the mouse's input into grid events
// for its owner, reporting the changes of its view too.
#pragma once

#include "edit/RegionSelection.h"
#include "edit/Symmetry.h"
#include "ui/GridTool.h"

#include <QAbstractScrollArea>

#include <QRect>

#include <functional>
#include <memory>

// Inclusive cell rectangle, as column and row numbers.
struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const GridRect &, const GridRect &) = default;
};

class DrawGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int DefaultCellSize = 32;

    // Draws the cell (column, row) into its rectangle (viewport coordinates).
    using CellDelegate = std::function<void(QPainter &, int column, int row, const QRect &)>;
    // Called before the current cell moves to (column, row).
    using SelectCellHandler = std::function<void(int column, int row)>;

    explicit DrawGrid(QWidget *parent = nullptr);

    void setCellDelegate(CellDelegate delegate) { m_cellDelegate = std::move(delegate); }
    // Draws marks over the drawn cells (a rectangle of column and row numbers),
    // below the selection and the outlines.
    using MarksPainter = std::function<void(QPainter &, const QRect &cells)>;
    void setMarksPainter(MarksPainter painter) { m_marksPainter = std::move(painter); }
    void setSelectCellHandler(SelectCellHandler handler) { m_selectCell = std::move(handler); }

    // The side of a cell in pixels: the default column width and row height.
    int cellSize() const { return m_cellSize; }
    void setCellSize(int pixels);

    int colCount() const { return m_colCount; }
    int rowCount() const { return m_rowCount; }
    // Sets both counts at once (re-dimensions, keeps the scroll position where it still fits).
    void setDimensions(int colCount, int rowCount);

    // First column and row shown.
    int leftCol() const;
    int topRow() const;
    void setLeftCol(int column);
    void setTopRow(int row);
    // Columns and rows shown whole, counted from leftCol and topRow.
    int visibleColCount() const;
    int visibleRowCount() const;
    // The cells on screen: those shown whole and the one partly shown column
    // and row after them, within the grid's dimensions.
    QRect shownCells() const;
    // The cell in the middle of the whole cells shown.
    QPoint centreCell() const;
    // Scrolls so that a cell is in the middle, as far as the grid's ends allow.
    void centreOn(QPoint cell);
    // Scrolls by whole cells along one axis (positive: towards the last
    // column or row), a cell at a time, never beyond the ends of the grid.
    void scrollByCells(int cells, Qt::Orientation orientation);
    // The whole notches of wheel turn (120 units each) the event completes:
    // fine-grained wheels and touchpads send parts of a notch, which add up.
    int wheelNotches(const QWheelEvent *event);

    int col() const { return m_current.x(); }
    int row() const { return m_current.y(); }
    GridRect selection() const;
    // The moving corner of the selection; the current cell is the fixed one.
    QPoint selectionEnd() const { return m_selectionEnd; }
    // Moves the current cell, asking the owner first; extends the selection from
    // its anchor when extend is set, else selects the cell alone.
    void selectCell(QPoint cell, bool extend);
    // The selection as a rectangle of inclusive cell numbers.
    QRect selectedCells() const
    {
        const GridRect s = selection();
        return QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom));
    }

    // The cell under a point of the viewport, or (-1, -1) when there is none.
    QPoint cellAt(const QPoint &viewportPoint) const;
    // The rectangle of a cell in viewport coordinates (it may lie outside the viewport).
    QRect cellRect(int column, int row) const;
    // Schedules a repaint of the cells of a rectangle (cell numbers) that are on screen.
    void updateCells(const QRect &cells);

    // Outlines drawn over the cells: where a right click would paint (solid,
    // or dashed for a fill) and where Paste would write (dotted). An empty
    // rectangle draws none.
    // Drag is the rectangle a left-button drag adds to or takes out of the
    // selection (dashed), which the select tool sets.
    enum class Outline { Brush, Fill, Paste, Drag };
    void setOutline(Outline kind, const QRect &cells);
    QRect outline(Outline kind) const { return m_outlines[int(kind)]; }

    // Cells selected by other means than the rectangle (by terrain): within
    // bounds, those contains(column, row) says are selected get the
    // selection's veil and a frame around the region. Empty bounds: none.
    using RegionTest = std::function<bool(int column, int row)>;
    void setRegion(const QRect &bounds, RegionTest contains);
    // The cells a fill would reach, outlined with a dashed frame (no veil);
    // null draws none.
    void setFillPreview(std::shared_ptr<const RegionSelection> region);
    const RegionSelection *fillPreview() const { return m_fillPreview.get(); }
    // Makes the rectangle of cells the selection, its top-left cell the current one.
    void setSelection(const QRect &cells);
    // Thin lines along the mirror axes of the symmetry on a map of the side
    // (cells), so the user sees where painting is mirrored; none with Off.
    void setSymmetryGuides(SymmetryMode mode, int side);
    SymmetryMode symmetryGuides() const { return m_guideMode; }

Q_SIGNALS:
    // The mouse's input on the cells; a move tells the point of the viewport too.
    void mousePressed(const GridEvent &event);
    void mouseMoved(const GridEvent &event, QPoint position);
    void mouseReleased(const GridEvent &event);
    // The part of the map in view changed: scrolling, a new size of the grid
    // or of the map, or a new cell size.
    void viewChanged();
    // The current cell or the selection changed.
    void selectionChanged();
    // The pointer left the grid.
    void pointerLeft();
    // The grid itself never scrolls by the wheel; its owner does.
    void wheelTurned(QWheelEvent *event);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    struct ViewportLayout {
        QSize size;           // the area the cells are drawn in
        bool horizontalBar;   // a horizontal scroll bar is shown
        bool verticalBar;
    };
    ViewportLayout viewportLayout() const;
    GridEvent gridEvent(const QMouseEvent *event) const;
    // The pixels of a rectangle of cells, in viewport coordinates.
    QRect cellsArea(const QRect &cells) const;
    void updateScrollBars();
    void scrollToShow(QPoint cell);
    // Draws a set of cells within bounds: a veil over each (when veil is
    // set) and the pen along the sides that face cells outside the set.
    void paintCellSet(QPainter &painter, const QRect &shown, const QRect &bounds, const RegionTest &contains,
                      bool veil) const;
    void drawSymmetryGuides(QPainter &painter) const;

    int m_colCount = 1;
    int m_rowCount = 1;
    int m_cellSize = DefaultCellSize;
    QRect m_outlines[4];
    std::shared_ptr<const RegionSelection> m_fillPreview;
    int m_wheelTurn = 0;  // wheel turn not yet taken as whole notches
    QRect m_regionBounds;
    RegionTest m_regionContains;
    SymmetryMode m_guideMode = SymmetryMode::Off;
    MarksPainter m_marksPainter;
    int m_guideSide = 0;
    QPoint m_current{0, 0};
    QPoint m_selectionEnd{0, 0};  // the moving corner of the selection; m_current is the fixed one
    CellDelegate m_cellDelegate;
    SelectCellHandler m_selectCell;
};
