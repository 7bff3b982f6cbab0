// The fairness view of the statistics dock: the level split into the
// players' sides of a symmetry mode, a stacked bar per side of its terrain
// types in the grid's plain colours, and below it a table of every figure of
// every side, the largest differences first.
#pragma once

#include "edit/Symmetry.h"

#include <QWidget>

class QChart;
class QComboBox;
class QLabel;
class QTableWidget;
class TerrainLayer;
struct Fairness;
struct FigureRow;
struct InterfaceTexts;
struct SideFigures;

class FairnessView : public QWidget {
    Q_OBJECT

public:
    explicit FairnessView(const InterfaceTexts &texts, QWidget *parent = nullptr);

    SymmetryMode mode() const;
    void setMode(SymmetryMode mode);
    // Works the figures out again for the layer (none: empties the view).
    void showLevel(const TerrainLayer *layer);

    QTableWidget *table() const { return m_table; }
    QChart *chart() const { return m_chart; }

Q_SIGNALS:
    // The user chose another mode.
    void modeChosen();

private:
    QString sideText(const SideFigures &side) const;
    QString figureText(const FigureRow &row) const;
    void fillChart(const Fairness &fairness);
    void fillTable(const Fairness &fairness);

    const InterfaceTexts &m_texts;
    QComboBox *m_mode = nullptr;
    QChart *m_chart = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_shared = nullptr;
};
