// The designed window's controls: their creation with the designed names,
// geometry and tab order, their items and texts from the interface texts, and
// the wiring of their events (and of the session's notices) to the handlers.
#include "ui/TForm1.h"

#include "edit/BrushSelectors.h"
#include "session/EditorSession.h"
#include "ui/DrawGrid.h"
#include "ui/EditorContext.h"
#include "ui/ObstacleWindow.h"
#include "ui/SelectSameTool.h"
#include "ui/SelectTool.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace {

QStringList numberItems(int first, int last)
{
    QStringList items;
    for (int n = first; n <= last; ++n)
        items << QString::number(n);
    return items;
}

}  // namespace

void TForm1::createControls()
{
    DG = new DrawGrid(this);
    DG->setObjectName("DG");
    DG->setGeometry(0, 0, 505, 573);
    DG->setProperty("tag", 1);
    DG->setVisible(false);

    GB = new QGroupBox(this);
    GB->setObjectName("GB");
    GB->setGeometry(504, 0, PanelWidth, 573);

    const auto button = [this](const char *name, QRect geometry) {
        auto *b = new QPushButton(GB);
        b->setObjectName(name);
        b->setGeometry(geometry);
        return b;
    };
    const auto combo = [this](const char *name, QRect geometry, int dropDownCount = 8) {
        auto *c = new QComboBox(GB);
        c->setObjectName(name);
        c->setGeometry(geometry);
        c->setEditable(false);
        c->setMaxVisibleItems(dropDownCount);
        return c;
    };

    // Created in the order of the panel's table, which is also their stacking order.
    Bopen = button("Bopen", {2, 14, 86, 20});
    Bsave = button("Bsave", {2, 32, 86, 20});
    CBlevel = combo("CBlevel", {2, 48, 86, 22});
    CBbrushx = combo("CBbrushx", {2, 68, 40, 21});
    CBbrushx->setProperty("tag", 9);
    CBbrushy = combo("CBbrushy", {25, 68, 40, 21});
    CBbrushy->setProperty("tag", 9);
    CBterconf = combo("CBterconf", {48, 68, 40, 21});
    CBtertype = combo("CBtertype", {2, 88, 86, 21}, BrushSelectors::TerrainNotChange + 1);
    CBrivtype = combo("CBrivtype", {2, 108, 86, 21}, BrushSelectors::RiverNotChange + 1);
    CBroadtype = combo("CBroadtype", {2, 128, 86, 21}, BrushSelectors::RoadNotChange + 1);
    CBrivconf = combo("CBrivconf", {2, 148, 42, 21}, BrushSelectors::RiverConfigNotChange + 1);
    tileimage = new QLabel(GB);
    tileimage->setObjectName("tileimage");
    tileimage->setGeometry(52, 152, 32, 32);
    CBroadconf = combo("CBroadconf", {2, 166, 42, 21}, BrushSelectors::RoadConfigNotChange + 1);
    LBmirror = new QListWidget(GB);
    LBmirror->setObjectName("LBmirror");
    LBmirror->setGeometry(2, 186, 86, 85);
    LBmirror->setSelectionMode(QAbstractItemView::MultiSelection);
    LBmirror->setUniformItemSizes(true);
    CBmirror = combo("CBmirror", {2, 270, 86, 21});
    Bundo = button("Bundo", {2, 290, 86, 20});
    Bcopycells = button("Bcopycells", {2, 308, 86, 20});
    Bpastecells = button("Bpastecells", {2, 326, 86, 20});
    CBmapsize = combo("CBmapsize", {2, 344, 86, 21});
    Bobstacles = button("Bobstacles", {2, 366, 86, 20});
    CBobstter = combo("CBobstter", {2, 386, 86, 21});
    CBobstx = combo("CBobstx", {2, 406, 42, 21});
    CBobsty = combo("CBobsty", {46, 406, 42, 21});
    Linfo = new QLabel(GB);
    Linfo->setObjectName("Linfo");
    Linfo->setGeometry(2, 428, 63, 13);
    Linfo->setAutoFillBackground(true);
    // Clicks on the panel's pictures and text belong to them, not to the panel.
    for (QWidget *passive : {static_cast<QWidget *>(Linfo), static_cast<QWidget *>(tileimage)})
        passive->setAttribute(Qt::WA_NoMousePropagation);
    Linfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Tab order as designed.
    const QWidget *order[] = {Bopen, CBbrushy, LBmirror, CBtertype, CBterconf, CBroadtype, CBroadconf,
                              CBrivtype, CBrivconf, CBmirror, CBmapsize, CBlevel, CBbrushx, Bundo,
                              Bsave, Bcopycells, Bpastecells, Bobstacles, CBobstter, CBobstx, CBobsty};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(const_cast<QWidget *>(order[i - 1]), const_cast<QWidget *>(order[i]));
}

void TForm1::fillControls()
{
    const InterfaceTexts &t = m_texts;
    showCaption(m_session.fileName());
    GB->setTitle(t.ternums);
    Bopen->setText(t.bopenmap);
    Bsave->setText(t.bsavemap);
    Bundo->setText(t.bundo);
    Bobstacles->setText(t.bobstacles);

    LBmirror->setToolTip(t.lbmirror);
    LBmirror->addItems({t.lbmirror_tv, t.lbmirror_th, t.lbmirror_rv, t.lbmirror_rh, t.lbmirror_pv, t.lbmirror_ph});
    for (int i = 0; i < LBmirror->count(); ++i)
        LBmirror->item(i)->setSizeHint(QSize(0, 13));
    CBmirror->setToolTip(t.cbmirror);
    CBmirror->addItems({t.cbmirror_s, t.cbmirror_sm, t.notchange});
    CBmirror->setCurrentIndex(BrushSelectors::MirrorModeNotChange);
    CBbrushx->setToolTip(t.cbbrushx);
    CBbrushy->setToolTip(t.cbbrushy);
    CBtertype->setToolTip(t.cbtertype);
    CBterconf->setToolTip(t.cbterconf);
    CBrivtype->setToolTip(t.cbrivtype);
    CBrivtype->addItems({t.cbrivtype_nr, t.cbrivtype_ar, t.cbrivtype_cr, t.cbrivtype_ai, t.cbrivtype_ir,
                         t.cbrivtype_am, t.cbrivtype_mr, t.cbrivtype_al, t.cbrivtype_lr, t.notchange});
    CBrivtype->setCurrentIndex(BrushSelectors::RiverNotChange);
    CBrivconf->setToolTip(t.cbrivconf);
    CBroadtype->setToolTip(t.cbroadtype);
    CBroadtype->addItems({t.cbroadtype_nr, t.cbroadtype_ad, t.cbroadtype_dr, t.cbroadtype_ag, t.cbroadtype_gr,
                          t.cbroadtype_as, t.cbroadtype_sr, t.notchange});
    CBroadtype->setCurrentIndex(BrushSelectors::RoadNotChange);
    CBroadconf->setToolTip(t.cbroadconf);
    CBmapsize->setToolTip(t.cbmapsize);
    Bcopycells->setText(t.bcopy);
    Bpastecells->setText(t.bpaste);
    CBlevel->setToolTip(t.cbmaplvl);
    CBlevel->addItems({t.maplvl_gnd, t.maplvl_str});
    // An owner-draw list with items of height 16: a plain item delegate takes
    // the height from the items (the combo's own one asks the style).
    CBlevel->setItemDelegate(new QStyledItemDelegate(CBlevel));
    for (int i = 0; i < CBlevel->count(); ++i)
        CBlevel->setItemData(i, QSize(0, 16), Qt::SizeHintRole);
    CBlevel->setCurrentIndex(0);
    CBtertype->addItems(QStringList(t.terrain.begin(), t.terrain.end()) << t.notchange);
    CBtertype->setCurrentIndex(0);
    CBrivconf->addItems(numberItems(0, BrushSelectors::RiverConfigNotChange - 1) << t.notchng);
    CBrivconf->setCurrentIndex(BrushSelectors::RiverConfigNotChange);
    CBroadconf->addItems(numberItems(0, BrushSelectors::RoadConfigNotChange - 1) << t.notchng);
    CBroadconf->setCurrentIndex(BrushSelectors::RoadConfigNotChange);

    QPixmap blank(32, 32);
    blank.fill(palette().color(QPalette::Window));
    tileimage->setPixmap(blank);

    // The sizes 1..36, then "fill" at index BrushFill.
    const QStringList brushSizes = numberItems(1, BrushSelectors::BrushFill) << t.brushfill;
    CBbrushx->addItems(brushSizes);
    CBbrushx->setCurrentIndex(0);
    CBbrushy->addItems(brushSizes);
    CBbrushy->setCurrentIndex(0);

    QStringList battlefields(t.terrain.begin(), t.terrain.begin() + 9);
    CBobstter->addItems(battlefields << t.shore << t.notchange);
    CBobstter->setCurrentIndex(CBobstter->count() - 1);
    CBobstter->setMaxVisibleItems(CBobstter->count());
    CBobstter->setToolTip(t.bobstacles);
    const QStringList positions = numberItems(0, 143);
    CBobstx->addItems(positions);
    CBobstx->setCurrentIndex(0);
    CBobstx->setToolTip(t.bobstacles + " X");
    CBobsty->addItems(positions);
    CBobsty->setCurrentIndex(0);
    CBobsty->setToolTip(t.bobstacles + " Y");

    Linfo->setText(QString(21, u' '));
}

void TForm1::connectControls()
{
    DG->setCellDelegate([this](QPainter &painter, int column, int row, const QRect &rect) {
        DGDrawCell(painter, column, row, rect);
    });
    DG->setSelectCellHandler([this](int column, int row) { DGSelectCell(column, row); });
    connect(DG, &DrawGrid::mousePressed, this,
            [this](Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position) {
                DGMouseDown(GridEvent{DG->cellAt(position), button, buttons, modifiers});
            });
    connect(DG, &DrawGrid::mouseMoved, this,
            [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position) {
                DGMouseMove(GridEvent{DG->cellAt(position), Qt::NoButton, buttons, modifiers}, position);
            });
    connect(DG, &DrawGrid::wheelTurned, this, &TForm1::FormMouseWheel);
    connect(DG, &DrawGrid::selectionChanged, this, &TForm1::showPasteOutline);
    connect(DG, &DrawGrid::selectionChanged, this, &TForm1::showCellInfo);
    connect(DG, &DrawGrid::pointerLeft, this, [this] { hoverAt(std::nullopt); });
    connect(DG, &DrawGrid::viewChanged, this, &TForm1::refreshHover);
    // The pointer shows the current tool; a rectangle drawn by hand replaces a selection by terrain.
    DG->viewport()->setCursor(currentTool().cursor());
    connect(&m_tools, &ToolBox::currentChanged, this, [this](GridTool &tool) {
        DG->viewport()->setCursor(tool.cursor());
        showBrushOutline();
        // A path drawn on by Shift+click starts from a point of this tool's own.
        m_session.forgetPathPoint();
    });
    connect(DG, &DrawGrid::selectionChanged, &m_session, &EditorSession::clearRegionSelection);
    connect(&m_session, &EditorSession::regionSelectionChanged, this, [this] { showRegionSelection(*DG, m_session); });
    connect(DG, &DrawGrid::mouseReleased, this,
            [this](Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position) {
                DGMouseUp(GridEvent{DG->cellAt(position), button, buttons, modifiers});
            });
    GB->installEventFilter(this);
    // A gesture the grid loses (to a dialog, another window, the window hidden) ends there.
    DG->installEventFilter(this);

    // What the session announces.
    connect(&m_session, &EditorSession::cellsChanged, this, &TForm1::repaintCells);
    connect(&m_session, &EditorSession::cellsChanged, this, &TForm1::refreshHover);
    connect(&m_session, &EditorSession::levelChanged, this, [this](int, bool shown) { showLevel(shown); });
    connect(&m_session, &EditorSession::undoCountChanged, this, &TForm1::SetUndoCount);
    connect(&m_session, &EditorSession::fillStoppedAtFirstCell, this, [this](int from, int to) {
        const auto name = [this](int type) {
            return type < int(m_texts.terrain.size()) ? m_texts.terrain[type] : QString::number(type);
        };
        Q_EMIT statusMessage(m_texts.msgfillstopped.arg(name(from), name(to)));
    });
    connect(&m_session, &EditorSession::fileNameChanged, this, &TForm1::showCaption);
    connect(&m_session, &EditorSession::mapOpened, this, [this] {
        m_infoCell = {-1, -1};
        Linfo->clear();
        Linfo->setToolTip(QString());
    });
    connect(&m_session, &EditorSession::obstacleViewChanged, m_form2.get(), &TForm2::viewChanged);

    connect(Bopen, &QPushButton::clicked, this, &TForm1::BopenClick);
    connect(Bsave, &QPushButton::clicked, this, &TForm1::BsaveClick);
    connect(Bundo, &QPushButton::clicked, this, &TForm1::BundoClick);
    connect(Bcopycells, &QPushButton::clicked, this, &TForm1::BcopycellsClick);
    connect(Bpastecells, &QPushButton::clicked, this, &TForm1::BpastecellsClick);
    connect(Bobstacles, &QPushButton::clicked, this, &TForm1::BobstaclesClick);
    // Only the user's choices run the handlers, never the programme's own changes.
    connect(CBlevel, &QComboBox::activated, this, &TForm1::selectLevel);
    connect(CBmapsize, &QComboBox::activated, this, &TForm1::CBmapsizeChange);
    for (QComboBox *box : {CBtertype, CBterconf, CBrivtype, CBrivconf, CBroadtype, CBroadconf, CBmirror, CBbrushx,
                           CBbrushy})
        connect(box, &QComboBox::activated, this, [this, box] { CBChange(box); });
    connect(LBmirror, &QListWidget::itemSelectionChanged, this, [this] { CBChange(LBmirror); });
    for (QComboBox *box : {CBobstter, CBobstx, CBobsty})
        connect(box, &QComboBox::activated, this, &TForm1::BobstaclesClick);
}
