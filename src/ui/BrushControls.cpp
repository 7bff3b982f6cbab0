// Reading and setting the panel's brush controls.
#include "ui/BrushControls.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

#include <algorithm>

BrushSelectors BrushControls::selectors() const
{
    BrushSelectors selectors;
    selectors.CBtertype = CBtertype->currentIndex();
    selectors.CBterconf = CBterconf->currentIndex();
    selectors.CBrivtype = CBrivtype->currentIndex();
    selectors.CBrivconf = CBrivconf->currentIndex();
    selectors.CBroadtype = CBroadtype->currentIndex();
    selectors.CBroadconf = CBroadconf->currentIndex();
    for (int k = 0; k < int(selectors.LBmirror.size()); ++k)
        selectors.LBmirror[k] = LBmirror->item(k)->isSelected();
    selectors.CBmirror = CBmirror->currentIndex();
    selectors.CBbrushx = CBbrushx->currentIndex();
    selectors.CBbrushy = CBbrushy->currentIndex();
    return selectors;
}

void BrushControls::refillTerrainConfigs(std::uint8_t previousConfig, const QString &notChange) const
{
    const TerrainConfigList list = terrainConfigListFor(CBtertype->currentIndex(), previousConfig);
    CBterconf->clear();
    QStringList items;
    for (int n = 0; n < list.itemCount - 1; ++n)
        items << QString::number(n);
    CBterconf->addItems(items << notChange);
    CBterconf->setCurrentIndex(list.selectedIndex);
}

void BrushControls::show(const BrushSelectors &selectors, const QString &notChange) const
{
    const QSignalBlocker mirrorSignals(LBmirror);
    CBtertype->setCurrentIndex(selectors.CBtertype);
    refillTerrainConfigs(0, notChange);
    CBterconf->setCurrentIndex(selectors.CBterconf);
    CBrivtype->setCurrentIndex(selectors.CBrivtype);
    CBrivconf->setCurrentIndex(selectors.CBrivconf);
    CBroadtype->setCurrentIndex(selectors.CBroadtype);
    CBroadconf->setCurrentIndex(selectors.CBroadconf);
    for (int k = 0; k < int(selectors.LBmirror.size()); ++k)
        LBmirror->item(k)->setSelected(selectors.LBmirror[k]);
    CBmirror->setCurrentIndex(selectors.CBmirror);
    CBbrushx->setCurrentIndex(selectors.CBbrushx);
    CBbrushy->setCurrentIndex(selectors.CBbrushy);
}

void BrushControls::stepSize(int step) const
{
    for (QComboBox *size : {CBbrushx, CBbrushy})
        if (size->currentIndex() != BrushSelectors::BrushFill)
            size->setCurrentIndex(std::clamp(size->currentIndex() + step, 0, BrushSelectors::BrushFill - 1));
}
