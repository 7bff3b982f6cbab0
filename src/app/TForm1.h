// The main window: the map grid DG and the control panel GB. The window reads
// its controls and forwards to the library; it holds the program's state.
#pragma once

#include "app/Settings.h"
#include "app/UserPrompts.h"
#include "map/MapDocument.h"

#include <QWidget>

#include <memory>

class DrawGrid;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

class TForm1 : public QWidget {
    Q_OBJECT

public:
    // Runs the start-up: reads "brackwen.ini" from the current folder and fills
    // every control. Prompts default to the real dialogs.
    explicit TForm1(std::unique_ptr<UserPrompts> prompts = nullptr, QWidget *parent = nullptr);
    ~TForm1() override;

    const Settings &settings() const { return m_settings; }
    const InterfaceTexts &texts() const { return m_texts; }
    const MapDocument &document() const { return m_document; }

    // Fits the grid to the client area beside (or, with the panel hidden,
    // without) the panel, so that a grid with scroll bars never shows a partial
    // last column or row.
    void layoutGrid();

    // The "Valdris map(*.vdm, *.vdw)|*.vdm;*.vdw" filter of both file dialogs.
    QString dialogFilter() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void fillControls();

    Settings m_settings;
    InterfaceTexts m_texts;
    std::unique_ptr<UserPrompts> m_prompts;
    MapDocument m_document;

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
