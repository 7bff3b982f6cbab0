// The main window: controls, start-up and the grid's fit to the window.
#include "app/TForm1.h"

#include "app/DrawGrid.h"
#include "app/Platform.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>

namespace {

// Size of the window's client area as designed, which is also its smallest.
constexpr QSize DesignedClientSize(594, 573);
constexpr QPoint DesignedPosition(333, 100);
constexpr int PanelWidth = 90;

QStringList numberItems(int first, int last)
{
    QStringList items;
    for (int n = first; n <= last; ++n)
        items << QString::number(n);
    return items;
}

}  // namespace

TForm1::TForm1(std::unique_ptr<UserPrompts> prompts, QWidget *parent)
    : QWidget(parent)
    , m_prompts(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>())
{
    setObjectName("Form1");
    QFont designFont(QStringLiteral("MS Sans Serif"));
    designFont.setPixelSize(11);
    setFont(designFont);
    setMinimumSize(DesignedClientSize);
    resize(DesignedClientSize);
    move(DesignedPosition);

    SettingsAndTexts loaded = loadSettingsAndTexts();
    m_settings = std::move(loaded.settings);
    m_texts = std::move(loaded.texts);

    createControls();
    fillControls();
}

TForm1::~TForm1() = default;

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
    CBtertype = combo("CBtertype", {2, 88, 86, 21}, 11);
    CBrivtype = combo("CBrivtype", {2, 108, 86, 21}, 10);
    CBroadtype = combo("CBroadtype", {2, 128, 86, 21}, 8);
    CBrivconf = combo("CBrivconf", {2, 148, 42, 21}, 14);
    tileimage = new QLabel(GB);
    tileimage->setObjectName("tileimage");
    tileimage->setGeometry(52, 152, 32, 32);
    CBroadconf = combo("CBroadconf", {2, 166, 42, 21}, 18);
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
    QCoreApplication::setApplicationName(t.title);
    setWindowTitle(t.title);
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
    CBmirror->setCurrentIndex(2);
    CBbrushx->setToolTip(t.cbbrushx);
    CBbrushy->setToolTip(t.cbbrushy);
    CBtertype->setToolTip(t.cbtertype);
    CBterconf->setToolTip(t.cbterconf);
    CBrivtype->setToolTip(t.cbrivtype);
    CBrivtype->addItems({t.cbrivtype_nr, t.cbrivtype_ar, t.cbrivtype_cr, t.cbrivtype_ai, t.cbrivtype_ir,
                         t.cbrivtype_am, t.cbrivtype_mr, t.cbrivtype_al, t.cbrivtype_lr, t.notchange});
    CBrivtype->setCurrentIndex(9);
    CBrivconf->setToolTip(t.cbrivconf);
    CBroadtype->setToolTip(t.cbroadtype);
    CBroadtype->addItems({t.cbroadtype_nr, t.cbroadtype_ad, t.cbroadtype_dr, t.cbroadtype_ag, t.cbroadtype_gr,
                          t.cbroadtype_as, t.cbroadtype_sr, t.notchange});
    CBroadtype->setCurrentIndex(7);
    CBroadconf->setToolTip(t.cbroadconf);
    CBmapsize->setToolTip(t.cbmapsize);
    Bcopycells->setText(t.bcopy);
    Bpastecells->setText(t.bpaste);
    CBlevel->setToolTip(t.cbmaplvl);
    CBlevel->addItems({t.maplvl_gnd, t.maplvl_str});
    CBlevel->setCurrentIndex(0);
    CBtertype->addItems(QStringList(t.terrain.begin(), t.terrain.end()) << t.notchange);
    CBtertype->setCurrentIndex(0);
    CBrivconf->addItems(numberItems(0, 12) << t.notchng);
    CBrivconf->setCurrentIndex(13);
    CBroadconf->addItems(numberItems(0, 16) << t.notchng);
    CBroadconf->setCurrentIndex(17);

    QPixmap blank(32, 32);
    blank.fill(palette().color(QPalette::Window));
    tileimage->setPixmap(blank);

    const QStringList brushSizes = numberItems(1, 36) << QStringLiteral("fill");
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

QString TForm1::dialogFilter() const
{
    return m_texts.dlgfilter + QStringLiteral("(*.vdm, *.vdw)|*.vdm;*.vdw");
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The panel keeps to the right edge and the full height.
    GB->setGeometry(width() - PanelWidth, 0, PanelWidth, height());
    layoutGrid();
}

void TForm1::layoutGrid()
{
    const int allowance = platform::scrollBarAllowance(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, DG));
    const int height = this->height();
    const int width = this->width() - (GB->isVisibleTo(this) ? GB->width() : 0);
    if (DG->width() != width || DG->height() != height)
        DG->resize(width, height);
    if (DG->visibleColCount() < DG->colCount()) {
        const int extra = DG->visibleRowCount() < DG->rowCount() ? allowance : 0;
        DG->resize(DG->visibleColCount() * DrawGrid::DefaultColWidth + extra, DG->height());
    }
    if (DG->visibleRowCount() < DG->rowCount()) {
        const int extra = DG->visibleColCount() < DG->colCount() ? allowance : 0;
        DG->resize(DG->width(), DG->visibleRowCount() * DrawGrid::DefaultRowHeight + extra);
    }
}
