// The controls of the window Form1 as they were designed: the map grid DG and
// the panel GB with its buttons, lists and labels, each with its designed
// name, geometry, stacking order (the order of creation) and tab order. The
// window fills and wires them; this is only their layout.
#pragma once

#include <QStringList>

class DrawGrid;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

// The items "first" to "last", numbered, of a list.
QStringList numberItems(int first, int last);

struct Form1Design {
    // Creates the controls in the form.
    void setupControls(QWidget &form);

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
