// The panel's brush controls and the brush they describe.
#include "ui/BrushPanel.h"

#include "session/EditorSession.h"
#include "session/Settings.h"
#include "ui/BrushPreview.h"
#include "ui/Form1Design.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>

BrushPanel::BrushPanel(const BrushControls &controls, QLabel &picture, EditorSession &session,
                       const InterfaceTexts &texts, QObject *parent)
    : QObject(parent)
    , m_controls(controls)
    , m_picture(picture)
    , m_session(session)
    , m_texts(texts)
{
    fillControls();
    const BrushControls &c = m_controls;
    // Only the user's choices read the controls, never the programme's own changes.
    for (QComboBox *box : {c.CBtertype, c.CBterconf, c.CBrivtype, c.CBrivconf, c.CBroadtype, c.CBroadconf, c.CBmirror,
                           c.CBbrushx, c.CBbrushy})
        connect(box, &QComboBox::activated, this, [this, box] { readControls(box == m_controls.CBtertype); });
    connect(c.LBmirror, &QListWidget::itemSelectionChanged, this, [this] { readControls(); });
}

void BrushPanel::fillControls()
{
    const InterfaceTexts &t = m_texts;
    const BrushControls &c = m_controls;
    c.LBmirror->setToolTip(t.lbmirror);
    c.LBmirror->addItems({t.lbmirror_tv, t.lbmirror_th, t.lbmirror_rv, t.lbmirror_rh, t.lbmirror_pv, t.lbmirror_ph});
    for (int i = 0; i < c.LBmirror->count(); ++i)
        c.LBmirror->item(i)->setSizeHint(QSize(0, 13));
    c.CBmirror->setToolTip(t.cbmirror);
    c.CBmirror->addItems({t.cbmirror_s, t.cbmirror_sm, t.notchange});
    c.CBmirror->setCurrentIndex(BrushSelectors::MirrorModeNotChange);
    c.CBbrushx->setToolTip(t.cbbrushx);
    c.CBbrushy->setToolTip(t.cbbrushy);
    c.CBtertype->setToolTip(t.cbtertype);
    c.CBterconf->setToolTip(t.cbterconf);
    c.CBrivtype->setToolTip(t.cbrivtype);
    c.CBrivtype->addItems({t.cbrivtype_nr, t.cbrivtype_ar, t.cbrivtype_cr, t.cbrivtype_ai, t.cbrivtype_ir,
                           t.cbrivtype_am, t.cbrivtype_mr, t.cbrivtype_al, t.cbrivtype_lr, t.notchange});
    c.CBrivtype->setCurrentIndex(BrushSelectors::RiverNotChange);
    c.CBrivconf->setToolTip(t.cbrivconf);
    c.CBroadtype->setToolTip(t.cbroadtype);
    c.CBroadtype->addItems({t.cbroadtype_nr, t.cbroadtype_ad, t.cbroadtype_dr, t.cbroadtype_ag, t.cbroadtype_gr,
                            t.cbroadtype_as, t.cbroadtype_sr, t.notchange});
    c.CBroadtype->setCurrentIndex(BrushSelectors::RoadNotChange);
    c.CBroadconf->setToolTip(t.cbroadconf);
    c.CBtertype->addItems(QStringList(t.terrain.begin(), t.terrain.end()) << t.notchange);
    c.CBtertype->setCurrentIndex(0);
    c.CBrivconf->addItems(numberItems(0, BrushSelectors::RiverConfigNotChange - 1) << t.notchng);
    c.CBrivconf->setCurrentIndex(BrushSelectors::RiverConfigNotChange);
    c.CBroadconf->addItems(numberItems(0, BrushSelectors::RoadConfigNotChange - 1) << t.notchng);
    c.CBroadconf->setCurrentIndex(BrushSelectors::RoadConfigNotChange);

    QPixmap blank(32, 32);
    blank.fill(m_picture.palette().color(QPalette::Window));
    m_picture.setPixmap(blank);

    // The sizes 1..36, then "fill" at index BrushFill.
    const QStringList brushSizes = numberItems(1, BrushSelectors::BrushFill) << t.brushfill;
    c.CBbrushx->addItems(brushSizes);
    c.CBbrushx->setCurrentIndex(0);
    c.CBbrushy->addItems(brushSizes);
    c.CBbrushy->setCurrentIndex(0);
}

void BrushPanel::readControls(bool newTerrainType)
{
    if (newTerrainType)
        m_controls.refillTerrainConfigs(m_brush.terrainConfig, m_texts.notchng);
    m_brush = BrushSettings::fromSelectors(m_controls.selectors(), m_brush);
    if (m_session.sprites())
        m_picture.setPixmap(QPixmap::fromImage(
            brushPreview(*m_session.sprites(), m_brush, m_picture.palette().color(QPalette::Window))));
    Q_EMIT changed();
}

void BrushPanel::pickCell(QPoint cell)
{
    const TerrainLayer &layer = m_session.currentLayer();
    if (!m_session.levelShown() || std::uint32_t(std::max(cell.x(), cell.y())) >= layer.side())
        return;
    m_controls.show(selectorsForCell(layer.at(cell.y(), cell.x()), m_controls.selectors()), m_texts.notchng);
    readControls();
}

void BrushPanel::stepSize(int step)
{
    m_controls.stepSize(step);
    readControls();
}
