// The main window on a small map in a folder of its own, with fake prompts,
// driven as a user does: the fixture the desktop window tests share.
#pragma once

#include "map/MapFile.h"
#include "session/Preferences.h"
#include "ui/DrawGrid.h"
#include "ui/EditorActions.h"
#include "ui/EditorContext.h"
#include "ui/MainWindow.h"
#include "ui/TForm1.h"
#include "writers/MapWriter.h"

#include "FakePrompts.h"
#include "TempDir.h"
#include "WindowDriver.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

inline const QByteArray settingsIni = "[Programm_options]\nlanguage=english\ngraphics=2\nuse_showobst=0\nuse_nagscreen=0\n"
                               "[english]\nterrain0=Dirt\nterrain2=Grass\nterrain3=Snow\nterrain8=Water\n";

// A two-level 36 x 36 map, all dirt but a water cell on the ground.
inline QByteArray plainMap()
{
    MapWriter map = MapWriter::patterned(36, true);
    map.layers = {TerrainLayer(36), TerrainLayer(36)};
    map.layers[0].at(3, 4).tertype = 8;
    map.layers[0].at(3, 4).terconf = 5;
    map.layers[0].at(3, 4).rivtype = 2;
    map.layers[0].at(3, 4).rivconf = 7;
    return map.data();
}

class DesktopWindow : public testing::Test {
protected:
    void SetUp() override
    {
        dir.write("brackwen.ini", settingsIni);
        if (!edgeRules.isEmpty())
            dir.write("terrain-edges.ini", edgeRules);
        mapPath = dir.write("plain.vdm", plainMap());
        current = std::make_unique<CurrentDirGuard>(dir.path());
        auto fake = std::make_unique<FakePrompts>(log);
        prompts = fake.get();
        context = std::make_unique<EditorContext>(std::move(fake));
        preferences = std::make_unique<Preferences>(dir.filePath("preferences.ini"));
        window = std::make_unique<MainWindow>(*context, *preferences);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        form = &window->form();
        grid = form->grid();
    }

    void openMap()
    {
        window->openFile(mapPath);
        ASSERT_TRUE(context->session.document().isLoaded);
    }
    QAction *action(const char *name) const { return window->actions().action(QString::fromLatin1(name)); }
    void trigger(const char *name) const { action(name)->trigger(); }
    void choose(const char *name, int index) const { chooseItem(form->findChild<QComboBox *>(name), index); }
    QPoint centre(int column, int row) const { return grid->cellRect(column, row).center(); }
    // A right-button stroke through the cells, from press to release.
    void stroke(const QList<QPoint> &cells) const
    {
        QTest::mousePress(grid->viewport(), Qt::RightButton, {}, centre(cells.first().x(), cells.first().y()));
        for (const QPoint &cell : cells)
            moveHolding(grid->viewport(), centre(cell.x(), cell.y()), Qt::RightButton);
        QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, centre(cells.last().x(), cells.last().y()));
    }
    int type(int column, int row, int level = 0) const { return context->session.document().layer(level).at(row, column).tertype; }
    int river(int column, int row) const { return context->session.document().layer(0).at(row, column).rivtype; }
    QString undoCaption() const { return form->findChild<QPushButton *>("Bundo")->text(); }

    QByteArray edgeRules;  // written as the rules file before the window starts, when set
    TempDir dir;
    QString mapPath;
    std::unique_ptr<CurrentDirGuard> current;
    PromptLog log;
    FakePrompts *prompts = nullptr;
    std::unique_ptr<EditorContext> context;
    std::unique_ptr<Preferences> preferences;
    std::unique_ptr<MainWindow> window;
    TForm1 *form = nullptr;
    DrawGrid *grid = nullptr;
};
