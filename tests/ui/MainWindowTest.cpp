// The main window as a desktop editor: menus and keys, steps of undo and redo,
// the saved state, the status bar, and maps from the command line, a drop or
// the recent list.
#include "ui/DrawGrid.h"
#include "ui/EditorActions.h"
#include "ui/EditorStatusBar.h"
#include "ui/HistoryDock.h"
#include "ui/MainWindow.h"
#include "ui/OverviewDock.h"
#include "session/Preferences.h"
#include "ui/EditorContext.h"
#include "ui/TForm1.h"
#include "map/MapFile.h"
#include "writers/MapWriter.h"

#include "DesktopWindow.h"

#include <QAction>
#include <QLabel>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QMimeData>
#include <QPushButton>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST_F(DesktopWindow, HostsTheDesignedFormWithMenusAndStatusBar)
{
    EXPECT_EQ(form->size(), TForm1::DesignedClientSize);
    EXPECT_EQ(window->windowTitle(), "Brackwen[*]");
    for (const char *name : {"actionOpen", "actionSave", "actionSaveAs", "actionQuit", "actionUndoStep",
                             "actionRedoStep", "actionUndoCell", "actionCopy", "actionPaste", "actionGround",
                             "actionUnderground", "actionOtherLevel", "actionPanel", "actionNumbers",
                             "actionObstacles", "actionMouseAndKeys", "actionAbout"})
        EXPECT_NE(action(name), nullptr) << name;
    EXPECT_EQ(action("actionSave")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(action("actionRedoStep")->shortcuts(), (QList<QKeySequence>{QKeySequence("Ctrl+Y"),
                                                                         QKeySequence("Ctrl+Shift+Z")}));
    trigger("actionMouseAndKeys");
    ASSERT_EQ(log.pages.size(), 1);
    EXPECT_TRUE(log.pages.first().contains("Middle button: hide or show the panel"));
    EXPECT_TRUE(log.pages.first().contains("Ctrl+L: Other level at this place"));
}

TEST_F(DesktopWindow, AStrokeAndAFillAreUndoneAndRedoneAsOneStepEach)
{
    openMap();
    choose("CBtertype", 3);
    stroke({{1, 1}, {2, 1}, {3, 1}, {3, 2}});
    EXPECT_EQ(undoCaption(), "Undo 4");
    // A river over the whole dirt region, its terrain kept.
    choose("CBtertype", 10);
    choose("CBrivtype", 2);
    choose("CBbrushx", 36);
    choose("CBbrushy", 36);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, centre(10, 10));
    EXPECT_EQ(river(20, 20), 1);
    EXPECT_EQ(river(1, 1), 0);
    const QString filled = undoCaption();

    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(river(20, 20), 0);
    EXPECT_EQ(type(1, 1), 3) << "the stroke is a step of its own";
    EXPECT_EQ(undoCaption(), "Undo 4");
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(type(1, 1), 0);
    EXPECT_EQ(type(3, 2), 0);
    EXPECT_EQ(undoCaption(), "Undo 0");

    QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(type(3, 2), 3);
    EXPECT_EQ(river(20, 20), 0);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(river(20, 20), 1);
    EXPECT_EQ(undoCaption(), filled);
}

// The panel's Undo takes back single cells; redoing them makes the stroke one
// step again, so Ctrl+Z then takes it back whole.
TEST_F(DesktopWindow, SingleCellsUndoneAndRedoneLeaveTheStrokeOneStep)
{
    openMap();
    choose("CBtertype", 3);
    stroke({{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}});
    QPushButton *undoCell = form->findChild<QPushButton *>("Bundo");
    undoCell->click();
    undoCell->click();
    EXPECT_EQ(type(6, 1), 0);
    EXPECT_EQ(type(5, 1), 0);
    EXPECT_EQ(type(4, 1), 3);
    EXPECT_TRUE(action("actionRedoStep")->isEnabled());
    trigger("actionRedoStep");
    EXPECT_EQ(type(5, 1), 3) << "redo puts back every cell taken back of the step at once";
    EXPECT_EQ(type(6, 1), 3);
    EXPECT_FALSE(action("actionRedoStep")->isEnabled());

    trigger("actionUndoStep");
    for (int column = 1; column <= 6; ++column)
        EXPECT_EQ(type(column, 1), 0) << column;
    trigger("actionRedoStep");
    EXPECT_EQ(type(1, 1), 3);
    EXPECT_EQ(type(6, 1), 3);

    // A new edit clears what could be redone.
    trigger("actionUndoStep");
    stroke({{5, 5}});
    EXPECT_FALSE(action("actionRedoStep")->isEnabled());
    trigger("actionRedoStep");
    EXPECT_EQ(type(1, 1), 0);
}

TEST_F(DesktopWindow, SaveWritesTheOpenedFileAndUndoBackToItNeedsNoPrompt)
{
    openMap();
    choose("CBtertype", 2);
    stroke({{1, 1}});
    EXPECT_TRUE(window->isWindowModified());
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(log.saveDialogs, 0) << "Save needs no dialog for a map with a file";
    const MapLoadResult saved = readMapFile(mapPath);
    ASSERT_TRUE(saved.ok()) << qPrintable(saved.reason);
    EXPECT_EQ(saved.document->ground.at(1, 1).tertype, 2);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(window->status().currentMessage(), "Saved " + QDir::toNativeSeparators(mapPath));

    stroke({{2, 2}});
    EXPECT_TRUE(window->isWindowModified());
    trigger("actionUndoStep");
    EXPECT_FALSE(window->isWindowModified()) << "undone back to what was saved";
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(log.saveQuestions.isEmpty());
}

TEST_F(DesktopWindow, AMapNamedAtStartUpIsOpenOnceTheWindowRuns)
{
    window->openWhenStarted(mapPath);
    EXPECT_FALSE(context->session.document().isLoaded);
    QTRY_VERIFY(context->session.document().isLoaded);
    EXPECT_EQ(window->windowTitle(), "Brackwen - " + QDir::toNativeSeparators(mapPath) + "[*]");
}

TEST_F(DesktopWindow, ADroppedMapOpensWithTheSavePrompt)
{
    openMap();
    choose("CBtertype", 3);
    stroke({{1, 1}});
    const QString other = dir.write("other.vdw", plainMap());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(other)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    prompts->saveQuestionAnswer = UserPrompts::SaveAnswer::Discard;
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(log.saveQuestions.size(), 1);
    EXPECT_EQ(context->session.fileName(), other);
}

TEST_F(DesktopWindow, RecentMapsAreRememberedAndMissingOnesRemoved)
{
    openMap();
    const QString other = dir.write("other.vdm", plainMap());
    window->openFile(other);
    Preferences preferences(dir.filePath("preferences.ini"));
    EXPECT_EQ(preferences.recentFiles(), (QStringList{QDir::cleanPath(other), QDir::cleanPath(mapPath)}));

    QFile::remove(mapPath);
    window->openFile(QDir::cleanPath(mapPath));
    EXPECT_EQ(preferences.recentFiles(), QStringList{QDir::cleanPath(other)});
    EXPECT_TRUE(window->status().currentMessage().contains("no longer exists"));
    EXPECT_EQ(context->session.fileName(), other);
}

TEST_F(DesktopWindow, StatusBarDescribesTheCellUnderThePointer)
{
    openMap();
    QTest::mouseMove(grid->viewport(), centre(4, 3));
    EXPECT_EQ(window->status().hoverText(), "4/3  Water, picture 5  river 2, picture 7");
    QTest::mouseMove(grid->viewport(), centre(0, 0));
    EXPECT_EQ(window->status().hoverText(), "0/0  Dirt, picture 0");

    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(1, 1));
    QTest::mouseMove(grid->viewport(), centre(3, 2));
    moveHolding(grid->viewport(), centre(3, 2), Qt::LeftButton);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(3, 2));
    EXPECT_EQ(window->status().selectionText(), "Selection 3 x 2");

    // The brush's outline follows the pointer.
    QTest::mouseMove(grid->viewport(), centre(6, 6));
    EXPECT_EQ(grid->outline(DrawGrid::Outline::Brush), QRect(6, 6, 1, 1));

    // A fill between terrains with different numbers of pictures says why it stopped.
    choose("CBtertype", 3);
    choose("CBbrushx", 36);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, centre(6, 6));
    EXPECT_TRUE(window->status().currentMessage().startsWith("The fill stopped at its first cell: Dirt and Snow"))
        << qPrintable(window->status().currentMessage());
}

TEST_F(DesktopWindow, OtherLevelKeepsThePlace)
{
    openMap();
    grid->setLeftCol(5);
    grid->setTopRow(7);
    trigger("actionOtherLevel");
    EXPECT_EQ(context->session.level(), 1);
    EXPECT_EQ(grid->leftCol(), 5);
    EXPECT_EQ(grid->topRow(), 7);
    trigger("actionGround");
    EXPECT_EQ(context->session.level(), 0);
    EXPECT_EQ(grid->leftCol(), 0);
}

}  // namespace

namespace {

TEST_F(DesktopWindow, ZoomAndOverviewAreRememberedBetweenRuns)
{
    openMap();
    EXPECT_EQ(grid->cellSize(), 32);
    trigger("actionZoomIn");
    EXPECT_EQ(grid->cellSize(), 64);
    trigger("actionZoomReset");
    EXPECT_EQ(grid->cellSize(), 32);
    QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(grid->cellSize(), 16);
    EXPECT_EQ(grid->visibleColCount() * 16, grid->viewport()->width()) << "the grid is fitted to whole cells";
    window->overview().toggleViewAction()->trigger();
    // The dock takes its width when the window has laid it out, which a busy
    // machine may delay.
    QTest::qWaitFor([&] { return window->overview().width() >= 130; }, 2000);
    EXPECT_GE(window->overview().width(), 130) << "the overview gets a useful width when first shown";
    EXPECT_TRUE(window->overview().wholeLevelAction()->isChecked());
    window->overview().wholeLevelAction()->trigger();
    const int closedWidth = window->width();
    ASSERT_TRUE(window->close());

    EditorContext againContext(std::make_unique<FakePrompts>(log));
    Preferences againPreferences(dir.filePath("preferences.ini"));
    MainWindow again(againContext, againPreferences);
    again.show();
    EXPECT_EQ(again.form().grid()->cellSize(), 16);
    EXPECT_TRUE(again.overview().isVisible());
    EXPECT_FALSE(again.overview().wholeLevelAction()->isChecked());
    QTest::qWait(50);
    EXPECT_EQ(again.width(), closedWidth) << "a window that had the overview does not grow again";
    EXPECT_GE(again.overview().width(), 130);
}

// A dock closed with its own button stays closed at the next start, as one
// closed from the View menu does.
TEST_F(DesktopWindow, ADockClosedByItsButtonStaysClosed)
{
    for (const char *name : {OverviewDock::ObjectName, HistoryDock::ObjectName}) {
        SCOPED_TRACE(name);
        const auto dockOf = [name](const MainWindow &shown) {
            return shown.findChild<QDockWidget *>(QString::fromLatin1(name));
        };
        const auto restart = [&] {
            window.reset();
            window = std::make_unique<MainWindow>(*context, *preferences);
            window->show();
            QDockWidget *dock = dockOf(*window);
            EXPECT_NE(dock, nullptr);
            return dock;
        };
        QDockWidget *dock = restart();
        ASSERT_NE(dock, nullptr);
        dock->toggleViewAction()->trigger();
        ASSERT_TRUE(dock->isVisible());
        dock = restart();
        ASSERT_TRUE(dock->isVisible()) << "shown from the View menu, it comes back";
        ASSERT_TRUE(dock->close());
        dock = restart();
        EXPECT_FALSE(dock->isVisible()) << "closed by its button, it stays closed";
    }
}

// Small seams: the panel's label shows the selection just made, Paste waits for
// copied cells, and the caption shows the map's absolute path whatever was typed.
TEST_F(DesktopWindow, SmallSeamsSayWhatIs)
{
    EXPECT_FALSE(action("actionPaste")->isEnabled());
    QMenu *transforms = window->findChild<QMenu *>("menuTransform");
    ASSERT_NE(transforms, nullptr);
    EXPECT_FALSE(transforms->isEnabled()) << "nothing to transform without a map";
    EXPECT_FALSE(action("actionFixPaths")->isEnabled());
    const CurrentDirGuard inDir(dir.path());
    window->openFile(QStringLiteral("plain.vdm"));
    ASSERT_TRUE(context->session.document().isLoaded);
    EXPECT_TRUE(transforms->isEnabled());
    EXPECT_EQ(window->windowTitle(), "Brackwen - " + QDir::toNativeSeparators(mapPath) + "[*]");
    EXPECT_FALSE(action("actionPaste")->isEnabled()) << "nothing copied yet";

    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(2, 3));
    moveHolding(grid->viewport(), centre(5, 6), Qt::LeftButton);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(5, 6));
    const QString info = form->findChild<QLabel *>("Linfo")->text();
    EXPECT_TRUE(info.startsWith("X1/Y1 2/3\nX2/Y2 5/6")) << qPrintable(info);
    trigger("actionCopy");
    EXPECT_TRUE(action("actionPaste")->isEnabled());
}

// Paste is enabled whenever cells are held, whichever command copied them:
// the panel's Copy Cells button as much as Edit, Copy.
TEST_F(DesktopWindow, PasteFollowsTheCopiedCellsWhicheverButtonCopiedThem)
{
    openMap();
    EXPECT_FALSE(action("actionPaste")->isEnabled());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(2, 3));
    form->findChild<QPushButton *>("Bcopycells")->click();
    EXPECT_TRUE(action("actionPaste")->isEnabled()) << "copied by the panel's button";
}

}  // namespace
