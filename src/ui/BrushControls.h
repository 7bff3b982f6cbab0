// The panel's brush controls read and set as one: the selectors they show,
// the refill of the terrain picture list when the type changes, the picker's
// setting of every control at once, and the brush size keys.
#pragma once

#include "edit/BrushSelectors.h"

#include <QString>

class QComboBox;
class QListWidget;

struct BrushControls {
    QComboBox *CBtertype = nullptr;
    QComboBox *CBterconf = nullptr;
    QComboBox *CBrivtype = nullptr;
    QComboBox *CBrivconf = nullptr;
    QComboBox *CBroadtype = nullptr;
    QComboBox *CBroadconf = nullptr;
    QListWidget *LBmirror = nullptr;
    QComboBox *CBmirror = nullptr;
    QComboBox *CBbrushx = nullptr;
    QComboBox *CBbrushy = nullptr;

    // The item each control shows.
    BrushSelectors selectors() const;
    // Fills the picture list for the chosen terrain type, keeping the previous
    // picture when the new list has it; notChange is the list's last item.
    void refillTerrainConfigs(std::uint8_t previousConfig, const QString &notChange) const;
    // Shows the selectors in the controls without running their handlers.
    void show(const BrushSelectors &selectors, const QString &notChange) const;
    // Makes the brush one cell smaller (-1) or larger (+1) on both sides,
    // within 1..36; a side set to "fill" stays so.
    void stepSize(int step) const;
};
