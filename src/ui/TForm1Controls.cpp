// The designed window's controls and parts: the controls' creation with the
// designed names, geometry and tab order, the texts of those the window keeps,
// the parts that own the rest, and the wiring of the controls, the grid's
// mouse input, the parts and the session's notices.
#include "ui/TForm1.h"

#include "session/EditorSession.h"
#include "ui/BrushPanel.h"
#include "ui/DocumentController.h"
#include "ui/DrawGrid.h"
#include "ui/EditorContext.h"
#include "ui/EditorTools.h"
#include "ui/Form1Design.h"
#include "ui/GridOutlines.h"
#include "ui/LevelControls.h"
#include "ui/ObstacleWindow.h"
#include "ui/SelectSameTool.h"
#include "ui/SelectTool.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWheelEvent>

void TForm1::fillControls()
{
    const InterfaceTexts &t = m_texts;
    showCaption(m_session.fileName());
    GB->setTitle(t.ternums);
    Bopen->setText(t.bopenmap);
    Bsave->setText(t.bsavemap);
    Bundo->setText(t.bundo);
    Bobstacles->setText(t.bobstacles);
    Bcopycells->setText(t.bcopy);
    Bpastecells->setText(t.bpaste);

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

void TForm1::createParts()
{
    m_form2 = std::make_unique<TForm2>(m_session.catalogue(), m_session.obstacleView(), obstacleCaptionTexts(m_texts));
    m_form2->setObjectName("Form2");
    m_brushPanel = new BrushPanel({CBtertype, CBterconf, CBrivtype, CBrivconf, CBroadtype, CBroadconf, LBmirror, CBmirror,
                                   CBbrushx, CBbrushy}, *tileimage, m_session, m_texts, this);
    m_levels = new LevelControls(*CBlevel, *CBmapsize, *DG, m_context, *this);
    m_document = new DocumentController(m_context, *this);
    const auto note = [this](const QString &text) { Q_EMIT statusMessage(text); };
    m_picker = &addEditorTools(m_tools, m_session, m_brushPanel->brush(), m_texts,
                               {[this](QPoint cell) { m_brushPanel->pickCell(cell); }, note});
    m_selectTool = std::make_unique<SelectTool>(*DG, m_session, [this](QPoint cell) { DGSelectCell(cell.x(), cell.y()); });
    m_selectTool->setCountNote([this, note](std::size_t cells) { note(m_texts.counted(m_texts.msgselected, cells)); });
    m_tools.setSelectTool(*m_selectTool);
}

void TForm1::connectControls()
{
    DG->setCellDelegate([this](QPainter &painter, int column, int row, const QRect &rect) {
        DGDrawCell(painter, column, row, rect);
    });
    DG->setSelectCellHandler([this](int column, int row) { DGSelectCell(column, row); });
    // Every press, move and release goes to the tools; the middle button also hides or shows the panel.
    connect(DG, &DrawGrid::mousePressed, this, [this](const GridEvent &event) {
        if (event.button == Qt::MiddleButton) {
            focusUndoButton();
            togglePanel();
        }
    });
    connect(DG, &DrawGrid::mousePressed, &m_tools, &ToolBox::press);
    connect(DG, &DrawGrid::mouseMoved, &m_tools, [this](const GridEvent &event) { m_tools.move(event); });
    connect(DG, &DrawGrid::mouseReleased, &m_tools, &ToolBox::release);
    m_outlines = new GridOutlines(*DG, m_tools, m_session, this);
    connect(m_outlines, &GridOutlines::cellHovered, this, &TForm1::cellHovered);
    connect(DG, &DrawGrid::wheelTurned, this, &TForm1::FormMouseWheel);
    connect(DG, &DrawGrid::selectionChanged, this, &TForm1::showCellInfo);
    // The pointer shows the current tool; a rectangle drawn by hand replaces a selection by terrain.
    DG->viewport()->setCursor(currentTool().cursor());
    connect(&m_tools, &ToolBox::currentChanged, this, [this](GridTool &tool) {
        DG->viewport()->setCursor(tool.cursor());
        // A path drawn on by Shift+click starts from a point of this tool's own.
        m_session.forgetPathPoint();
    });
    connect(DG, &DrawGrid::selectionChanged, &m_session, &EditorSession::clearRegionSelection);
    connect(&m_session, &EditorSession::regionSelectionChanged, this, [this] { showRegionSelection(*DG, m_session); });
    GB->installEventFilter(this);
    // A gesture the grid loses (to a dialog, another window, the window hidden) ends there.
    DG->installEventFilter(this);

    // A new brush paints again on the cell pressed last.
    connect(m_brushPanel, &BrushPanel::changed, &m_tools, &ToolBox::rearm);
    connect(m_brushPanel, &BrushPanel::changed, m_outlines, &GridOutlines::showToolOutline);
    connect(m_levels, &LevelControls::statusMessage, this, &TForm1::statusMessage);
    connect(m_document, &DocumentController::statusMessage, this, &TForm1::statusMessage);
    connect(m_document, &DocumentController::opened, this, &TForm1::showOpenedMap);
    connect(m_document, &DocumentController::refused, this, &TForm1::showRefusal);
    connect(m_document, &DocumentController::closing, m_form2.get(), &QWidget::hide);

    // What the session announces.
    connect(&m_session, &EditorSession::cellsChanged, this, &TForm1::repaintCells);
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

    connect(Bopen, &QPushButton::clicked, m_document, [this] { m_document->open(QString()); });
    connect(Bsave, &QPushButton::clicked, m_document, &DocumentController::saveAs);
    connect(Bundo, &QPushButton::clicked, this, &TForm1::undoOneCell);
    connect(Bcopycells, &QPushButton::clicked, this, &TForm1::BcopycellsClick);
    connect(Bpastecells, &QPushButton::clicked, this, &TForm1::BpastecellsClick);
    connect(Bobstacles, &QPushButton::clicked, this, &TForm1::BobstaclesClick);
    for (QComboBox *box : {CBobstter, CBobstx, CBobsty})
        connect(box, &QComboBox::activated, this, &TForm1::BobstaclesClick);
}
