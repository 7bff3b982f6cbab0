// The panel's level and size lists: which level of the map the grid shows
// (and the other level at the same place), and the map's side, asking first
// when a smaller side would cut away painted cells.
#pragma once

#include <QObject>

class DrawGrid;
class EditorContext;
class QComboBox;
class QWidget;

class LevelControls : public QObject {
    Q_OBJECT

public:
    // window is the parent of the prompts.
    LevelControls(QComboBox &level, QComboBox &size, DrawGrid &grid, EditorContext &context, QWidget &window);

    // A map opened: the sizes it can take, none chosen.
    void fillSizeList();
    // Shows the level the level list names.
    void selectLevel();
    // Chooses a level as the level list does.
    void chooseLevel(int level);
    // Switches to the other level keeping the first visible column and row.
    void otherLevelHere();

Q_SIGNALS:
    // A short message for the status bar.
    void statusMessage(const QString &text);

private:
    void CBmapsizeChange();
    void showLevel(bool shown);

    QComboBox &CBlevel;
    QComboBox &CBmapsize;
    DrawGrid &DG;
    EditorContext &m_context;
    QWidget &m_window;
    int m_mapSizeIndex = 0;  // the size list's item since the open or the last size change
};
