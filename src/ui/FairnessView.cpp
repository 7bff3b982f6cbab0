// The fairness view.
#include "ui/FairnessView.h"

#include "check/Fairness.h"
#include "check/SymmetryNames.h"
#include "edit/TerrainStats.h"
#include "gfx/CellRenderer.h"
#include "session/Settings.h"
#include "ui/SymmetryMenus.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

FairnessView::FairnessView(const InterfaceTexts &texts, QWidget *parent)
    : QWidget(parent)
    , m_texts(texts)
    , m_mode(new QComboBox(this))
    , m_chart(new QChart)
    , m_table(new QTableWidget(this))
    , m_shared(new QLabel(this))
{
    m_mode->setObjectName(QStringLiteral("fairnessMode"));
    for (const SymmetryName &name : symmetryNames())
        m_mode->addItem(symmetryModeText(texts, name.mode), int(name.mode));
    setMode(SymmetryMode::LeftRight);
    connect(m_mode, &QComboBox::activated, this, &FairnessView::modeChosen);

    auto *modeRow = new QHBoxLayout;
    modeRow->addWidget(new QLabel(texts.statsides, this));
    modeRow->addWidget(m_mode, 1);

    m_chart->legend()->setAlignment(Qt::AlignRight);
    m_chart->setMargins(QMargins(2, 2, 2, 2));
    auto *chartView = new QChartView(m_chart, this);
    chartView->setObjectName(QStringLiteral("fairnessChart"));
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setMinimumHeight(160);

    m_table->setObjectName(QStringLiteral("fairnessTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_shared->setObjectName(QStringLiteral("fairnessShared"));

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(chartView);
    splitter->addWidget(m_table);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(modeRow);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_shared);
}

SymmetryMode FairnessView::mode() const
{
    return SymmetryMode(m_mode->currentData().toInt());
}

void FairnessView::setMode(SymmetryMode mode)
{
    const int index = m_mode->findData(int(mode));
    if (index >= 0)
        m_mode->setCurrentIndex(index);
}

void FairnessView::showLevel(const TerrainLayer *layer)
{
    if (!layer || layer->isEmpty()) {
        m_chart->removeAllSeries();
        m_table->clear();
        m_table->setRowCount(0);
        m_table->setColumnCount(0);
        m_shared->clear();
        return;
    }
    const Fairness fairness = fairnessOf(*layer, mode());
    fillChart(fairness);
    fillTable(fairness);
    m_shared->setText(m_texts.counted(m_texts.statshared, fairness.sharedCells));
}

QString FairnessView::sideText(const SideFigures &side) const
{
    const QString *names[3][3] = {{&m_texts.sidetopleft, &m_texts.sidetop, &m_texts.sidetopright},
                                  {&m_texts.sideleft, &m_texts.sidewhole, &m_texts.sideright},
                                  {&m_texts.sidebottomleft, &m_texts.sidebottom, &m_texts.sidebottomright}};
    return *names[side.down + 1][side.across + 1];
}

QString FairnessView::figureText(const FigureRow &row) const
{
    const auto or_ = [](const QString &text, const QString &fallback) { return text.isEmpty() ? fallback : text; };
    // The panel's list items name rivers and roads.
    const QString rivers[] = {m_texts.cbrivtype_nr, m_texts.cbrivtype_cr, m_texts.cbrivtype_ir, m_texts.cbrivtype_mr,
                              m_texts.cbrivtype_lr};
    const QString roads[] = {m_texts.cbroadtype_nr, m_texts.cbroadtype_dr, m_texts.cbroadtype_gr, m_texts.cbroadtype_sr};
    switch (row.what) {
    case FigureRow::What::Terrain:
        return or_(m_texts.terrain[row.type], terrainTypeName(row.type));
    case FigureRow::What::River:
        return or_(rivers[row.type], riverTypeName(row.type));
    case FigureRow::What::Road:
        return or_(roads[row.type], roadTypeName(row.type));
    case FigureRow::What::WaterShare:
        return m_texts.figwater;
    case FigureRow::What::RoadLength:
        return m_texts.figroadlength;
    case FigureRow::What::Regions:
        return m_texts.figregions;
    case FigureRow::What::LargestRegion:
        return m_texts.figlargest;
    case FigureRow::What::JoinsOthers:
        return m_texts.figjoins;
    }
    return {};
}

void FairnessView::fillChart(const Fairness &fairness)
{
    m_chart->removeAllSeries();
    for (QAbstractAxis *axis : m_chart->axes())
        m_chart->removeAxis(axis);
    auto *series = new QStackedBarSeries;
    std::uint64_t largest = 0;
    for (const SideFigures &side : fairness.sides)
        largest = std::max(largest, side.cells);
    for (std::uint8_t type = 0; type < TerrainTypeCount; ++type) {
        bool any = false;
        for (const SideFigures &side : fairness.sides)
            any |= side.terrain[type] > 0;
        if (!any)
            continue;
        FigureRow row{FigureRow::What::Terrain, type, {}, 0};
        auto *set = new QBarSet(figureText(row));
        set->setColor(QColor::fromRgb(TerrainColours[type]));
        set->setBorderColor(QColor::fromRgb(TerrainColours[type]).darker(140));
        for (const SideFigures &side : fairness.sides)
            *set << double(side.terrain[type]);
        series->append(set);
    }
    m_chart->addSeries(series);
    QStringList categories;
    for (const SideFigures &side : fairness.sides)
        categories << sideText(side);
    auto *sides = new QBarCategoryAxis;
    sides->append(categories);
    auto *cells = new QValueAxis;
    cells->setRange(0, double(std::max<std::uint64_t>(largest, 1)));
    cells->setLabelFormat(QStringLiteral("%d"));
    m_chart->addAxis(sides, Qt::AlignBottom);
    m_chart->addAxis(cells, Qt::AlignLeft);
    series->attachAxis(sides);
    series->attachAxis(cells);
}

void FairnessView::fillTable(const Fairness &fairness)
{
    const std::vector<FigureRow> rows = figureRows(fairness);
    const int sides = int(fairness.sides.size());
    m_table->clear();
    m_table->setRowCount(int(rows.size()));
    m_table->setColumnCount(sides + 1);
    QStringList headers;
    for (const SideFigures &side : fairness.sides)
        headers << sideText(side);
    headers << m_texts.statdifference;
    m_table->setHorizontalHeaderLabels(headers);
    QStringList names;
    for (int r = 0; r < int(rows.size()); ++r) {
        const FigureRow &row = rows[std::size_t(r)];
        names << figureText(row);
        const int decimals = row.what == FigureRow::What::WaterShare ? 2 : 0;
        for (int s = 0; s <= sides; ++s) {
            const double value = s < sides ? row.values[std::size_t(s)] : row.spread;
            auto *item = new QTableWidgetItem(QString::number(value, 'f', decimals));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r, s, item);
        }
    }
    m_table->setVerticalHeaderLabels(names);
    m_table->resizeColumnsToContents();
}
