// The panel's brush: its controls and the brush settings they describe, kept
// in step both ways. A choice in a control reads them all into the brush and
// redraws its picture; the picker and the size keys set the controls. Each
// change of the brush is one changed signal.
#pragma once

#include "edit/BrushSettings.h"
#include "ui/BrushControls.h"

#include <QObject>
#include <QPoint>

class EditorSession;
class QLabel;
struct InterfaceTexts;

class BrushPanel : public QObject {
    Q_OBJECT

public:
    // Fills the controls' items and tips from the texts; picture shows the
    // brush's tile.
    BrushPanel(const BrushControls &controls, QLabel &picture, EditorSession &session, const InterfaceTexts &texts,
               QObject *parent = nullptr);

    const BrushSettings &brush() const { return m_brush; }

    // Reads the controls into the brush; after a new terrain type, fills the
    // picture list for it first.
    void readControls(bool newTerrainType = false);
    // Puts a cell's terrain, picture, river, road and mirror bits into the
    // controls (the picker).
    void pickCell(QPoint cell);
    // "[" and "]": the brush one cell smaller (-1) or larger (+1) on both sides.
    void stepSize(int step);

Q_SIGNALS:
    void changed();

private:
    void fillControls();

    BrushControls m_controls;
    QLabel &m_picture;
    EditorSession &m_session;
    const InterfaceTexts &m_texts;
    BrushSettings m_brush;
};
