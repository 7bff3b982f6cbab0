// The controls of the window Form1 as designed.
#include "ui/Form1Design.h"

#include "edit/BrushSelectors.h"
#include "ui/DrawGrid.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

QStringList numberItems(int first, int last)
{
    QStringList items;
    for (int n = first; n <= last; ++n)
        items << QString::number(n);
    return items;
}

void Form1Design::setupControls(QWidget &form)
{
    DG = new DrawGrid(&form);
    DG->setObjectName("DG");
    DG->setGeometry(0, 0, 505, 573);
    DG->setProperty("tag", 1);
    DG->setVisible(false);

    GB = new QGroupBox(&form);
    GB->setObjectName("GB");
    GB->setGeometry(504, 0, 90, 573);

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
        QWidget::setTabOrder(const_cast<QWidget *>(order[i - 1]), const_cast<QWidget *>(order[i]));
}
