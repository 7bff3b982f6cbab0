// The main window driven like a user: opening and saving, picking cells with
// the mouse, painting, undo, copy and paste, the wheel, the panel toggles, the
// obstacle window and the closing prompts.
#include "ui/DrawGrid.h"
#include "ui/EditorContext.h"
#include "ui/TForm1.h"
#include "ui/DocumentController.h"
#include "map/MapFile.h"
#include "ui/ObstacleWindow.h"
#include "writers/MapWriter.h"
#include "writers/ObstacleCatalogueWriter.h"

#include "FakePrompts.h"
#include "WindowDriver.h"
#include "TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QByteArray settingsIni(int nagscreen)
{
    return QByteArray("[Programm_options]\nlanguage=english\ngraphics=2\nuse_showobst=1\nuse_ramobst=1\n")
        + "use_nagscreen=" + QByteArray::number(nagscreen) + "\n[english]\nterrain0=Dirt\nterrain2=Grass\n";
}

// A two-level 36 x 36 map whose cells are all zero except a marked ground cell.
QByteArray plainMap()
{
    MapWriter map = MapWriter::patterned(36, true);
    map.layers = {TerrainLayer(36), TerrainLayer(36)};
    map.layers[0].at(3, 4).tertype = 8;
    map.layers[0].at(10, 10).tertype = 9;
    return map.data();
}

class EditingWindow : public testing::Test {
protected:
    void SetUp() override { open(); }

    void open(int nagscreen = 0)
    {
        dir.write("brackwen.ini", settingsIni(nagscreen));
        mapPath = dir.write("plain.vdm", plainMap());
        current.reset();
        current = std::make_unique<CurrentDirGuard>(dir.path());
        auto fake = std::make_unique<FakePrompts>(log);
        prompts = fake.get();
        form.reset();
        context = std::make_unique<EditorContext>(std::move(fake));
        form = std::make_unique<TForm1>(*context);
        form->show();
        prompts->openAnswer = mapPath;
        button("Bopen")->click();
        grid = form->findChild<DrawGrid *>("DG");
        ASSERT_TRUE(context->session.document().isLoaded);
    }

    QPushButton *button(const char *name) const { return form->findChild<QPushButton *>(name); }
    QComboBox *combo(const char *name) const { return form->findChild<QComboBox *>(name); }
    QLabel *label(const char *name) const { return form->findChild<QLabel *>(name); }

    void choose(const char *name, int index) const { chooseItem(combo(name), index); }

    QPoint centre(int column, int row) const { return grid->cellRect(column, row).center(); }
    void press(Qt::MouseButton button, int column, int row) const
    {
        QTest::mouseClick(grid->viewport(), button, {}, centre(column, row));
    }
    void move(Qt::MouseButtons held, int column, int row) const
    {
        moveHolding(grid->viewport(), centre(column, row), held);
    }
    const TerrainCell &cell(int level, int column, int row) const
    {
        return context->session.document().layer(level).at(row, column);
    }
    // Grows the map to 72 and paints grass at (40, 35) of the underground,
    // a cell that making the map 36 again would cut away.
    void paintGrassOutside36()
    {
        choose("CBmapsize", 2);
        choose("CBlevel", 1);
        grid->setTopRow(30);
        grid->setLeftCol(30);
        choose("CBtertype", 2);
        press(Qt::RightButton, 40, 35);
    }

    TempDir dir;
    QString mapPath;
    std::unique_ptr<CurrentDirGuard> current;
    PromptLog log;
    FakePrompts *prompts = nullptr;
    std::unique_ptr<EditorContext> context;
    std::unique_ptr<TForm1> form;
    DrawGrid *grid = nullptr;
};

TEST_F(EditingWindow, OpenShowsTheMap)
{
    EXPECT_EQ(form->windowTitle(), "Brackwen - " + QDir::toNativeSeparators(mapPath));
    EXPECT_EQ(button("Bundo")->text(), "Undo 0");
    EXPECT_TRUE(grid->isVisible());
    EXPECT_EQ(grid->colCount(), 36);
    const QComboBox *sizes = combo("CBmapsize");
    ASSERT_EQ(sizes->count(), 5);
    EXPECT_EQ(sizes->itemText(0), "Not change");
    EXPECT_EQ(sizes->itemText(4), "144x144");
    EXPECT_EQ(combo("CBterconf")->count(), 47);  // 0..45 and "n/c"

}

// A refused file shows the map error with its reason, and the open map stays
// loaded, editable and savable with its caption and its edits.
TEST_F(EditingWindow, FailedOpenKeepsTheOpenMap)
{
    choose("CBtertype", 2);
    press(Qt::RightButton, 1, 1);
    const QString caption = form->windowTitle();
    const QString broken = dir.write("broken.vdm", QByteArray(2000, 'x'));
    prompts->openAnswer = broken;
    prompts->saveQuestionAnswer = UserPrompts::SaveAnswer::Discard;
    button("Bopen")->click();
    EXPECT_EQ(label("Linfo")->text(), "Map Error !");
    ASSERT_EQ(log.errors.size(), 1) << "the reason is shown in a message too";
    EXPECT_EQ(log.errors.first(), label("Linfo")->toolTip());
    EXPECT_TRUE(label("Linfo")->toolTip().startsWith(QDir::toNativeSeparators(broken) + " could not be opened: "))
        << qPrintable(label("Linfo")->toolTip());
    EXPECT_EQ(form->windowTitle(), caption);
    ASSERT_TRUE(context->session.document().isLoaded);
    EXPECT_TRUE(grid->isVisible());
    EXPECT_EQ(cell(0, 1, 1).tertype, 2);
    EXPECT_EQ(button("Bundo")->text(), "Undo 1");

    press(Qt::RightButton, 2, 1);
    EXPECT_EQ(cell(0, 2, 1).tertype, 2);
    choose("CBlevel", 1);
    EXPECT_EQ(context->session.layerLevel(), 1);
    prompts->saveAnswer = dir.filePath("kept.vdm");
    EXPECT_TRUE(QMetaObject::invokeMethod(button("Bsave"), "click"));
    const MapLoadResult saved = readMapFile(dir.filePath("kept.vdm"));
    ASSERT_TRUE(saved.ok()) << qPrintable(saved.reason);
    EXPECT_EQ(saved.document->ground.at(1, 2).tertype, 2);
}

// The save prompt answers Save, Don't save or Cancel; Cancel, and a Save that
// did not happen, stop the close or the open with the edits kept. Save writes
// the map's own file, as Ctrl+S does, with no dialog.
TEST_F(EditingWindow, SavePromptCanStopClosingAndOpening)
{
    choose("CBtertype", 2);
    press(Qt::RightButton, 1, 1);

    prompts->saveQuestionAnswer = UserPrompts::SaveAnswer::Cancel;
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(log.saveQuestions, QStringList{"Save Map?"});
    button("Bopen")->click();
    EXPECT_EQ(log.openDialogs, 1) << "only the first open's dialog";
    EXPECT_EQ(cell(0, 1, 1).tertype, 2);

    // Save, and the save fails (a folder stands where the map's file was): its message shows.
    ASSERT_TRUE(QFile::remove(mapPath));
    ASSERT_TRUE(QDir().mkdir(mapPath));
    prompts->saveQuestionAnswer = UserPrompts::SaveAnswer::Save;
    EXPECT_FALSE(form->close());
    ASSERT_EQ(log.errors.size(), 1);
    EXPECT_TRUE(log.errors.first().startsWith("The map could not be saved to ")) << qPrintable(log.errors.first());
    button("Bopen")->click();
    EXPECT_EQ(log.openDialogs, 1);
    EXPECT_EQ(cell(0, 1, 1).tertype, 2);

    // Save that succeeds lets the close go on; so does Don't save.
    ASSERT_TRUE(QDir().rmdir(mapPath));
    EXPECT_TRUE(form->close());
    EXPECT_EQ(log.saveDialogs, 0);
    const MapLoadResult saved = readMapFile(mapPath);
    ASSERT_TRUE(saved.ok()) << qPrintable(saved.reason);
    EXPECT_EQ(saved.document->ground.at(1, 1).tertype, 2);
    form->show();
    press(Qt::RightButton, 2, 1);
    prompts->saveQuestionAnswer = UserPrompts::SaveAnswer::Discard;
    EXPECT_TRUE(form->close());
}

// Making the map smaller asks first when painted cells would be cut away.
TEST_F(EditingWindow, SizeCutAsksBeforeLosingCells)
{
    choose("CBmapsize", 2);
    ASSERT_EQ(context->session.document().mapSize, 72u);
    choose("CBmapsize", 1);
    EXPECT_EQ(context->session.document().mapSize, 36u) << "only zero cells outside: no question";
    EXPECT_TRUE(log.confirmations.isEmpty());

    paintGrassOutside36();
    ASSERT_EQ(cell(1, 40, 35).tertype, 2);

    prompts->confirmAnswer = false;
    choose("CBmapsize", 1);
    EXPECT_EQ(log.confirmations, QStringList{"Cells outside 36x36 are not empty and will be lost. Change the size?"});
    EXPECT_EQ(context->session.document().mapSize, 72u);
    EXPECT_EQ(combo("CBmapsize")->currentIndex(), 2);
    EXPECT_EQ(cell(1, 40, 35).tertype, 2);

    prompts->confirmAnswer = true;
    choose("CBmapsize", 1);
    EXPECT_EQ(context->session.document().mapSize, 36u);
    EXPECT_EQ(combo("CBmapsize")->currentIndex(), 1);
}

// A size change is a step: undo gives back the side and the cut cells, redo
// repeats it, and the grid follows both.
TEST_F(EditingWindow, SizeChangesAreUndoneAndRedone)
{
    paintGrassOutside36();
    prompts->confirmAnswer = true;
    choose("CBmapsize", 1);
    ASSERT_EQ(context->session.document().mapSize, 36u);

    form->undoStep();
    EXPECT_EQ(context->session.document().mapSize, 72u);
    EXPECT_EQ(grid->colCount(), 72);
    EXPECT_EQ(cell(1, 40, 35).tertype, 2) << "the cut cell is back";
    EXPECT_EQ(context->session.level(), 1);
    form->redoStep();
    EXPECT_EQ(context->session.document().mapSize, 36u);
    EXPECT_EQ(grid->colCount(), 36);

    // Undoing every step, the size changes too, leaves the map as opened: nothing to save.
    while (context->session.history().canUndo())
        form->undoStep();
    EXPECT_EQ(context->session.document().mapSize, 36u);
    EXPECT_FALSE(context->session.hasUnsavedChanges());
}

TEST_F(EditingWindow, RepeatedPressesOnOneCellPaintOnce)
{
    choose("CBtertype", 2);
    press(Qt::RightButton, 1, 1);
    EXPECT_EQ(cell(0, 1, 1).tertype, 2);
    EXPECT_EQ(button("Bundo")->text(), "Undo 1");

    context->session.undoLast();
    press(Qt::RightButton, 1, 1);
    EXPECT_EQ(cell(0, 1, 1).tertype, 0) << "a second press on the same cell paints nothing";

    press(Qt::RightButton, 2, 1);
    press(Qt::RightButton, 1, 1);
    EXPECT_EQ(cell(0, 1, 1).tertype, 2) << "after a press elsewhere the cell paints again";
    EXPECT_EQ(context->session.anchorCell(), (CellPosition{1, 1}));

    // A new brush paints again on the cell pressed last.
    choose("CBtertype", 3);
    press(Qt::RightButton, 1, 1);
    EXPECT_EQ(cell(0, 1, 1).tertype, 3);

    // A left press followed by a right press on the same cell paints nothing.
    press(Qt::LeftButton, 5, 5);
    press(Qt::RightButton, 5, 5);
    EXPECT_EQ(cell(0, 5, 5).tertype, 0);
    EXPECT_EQ(button("Bundo")->text(), "Undo 3");
}

TEST_F(EditingWindow, RightButtonDragPaintsEachNewCellOnce)
{
    choose("CBtertype", 2);
    QTest::mousePress(grid->viewport(), Qt::RightButton, {}, centre(0, 0));
    move(Qt::RightButton, 0, 0);
    move(Qt::RightButton, 1, 0);
    move(Qt::RightButton, 2, 0);
    move(Qt::RightButton, 2, 0);  // still the same cell: nothing
    choose("CBtertype", 3);
    move(Qt::RightButton, 1, 0);  // entered again: painted again
    QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, centre(1, 0));
    EXPECT_EQ(cell(0, 0, 0).tertype, 2);
    EXPECT_EQ(cell(0, 1, 0).tertype, 3);
    EXPECT_EQ(cell(0, 2, 0).tertype, 2);
    EXPECT_EQ(context->session.undoList().count(), 4u);
}

TEST_F(EditingWindow, LeftClickShowsTheCellAndDragSelects)
{
    press(Qt::LeftButton, 4, 3);
    EXPECT_TRUE(label("Linfo")->text().contains("x - column 4\ny - row 3\ntertype 8"));
    EXPECT_EQ(context->session.anchorCell(), (CellPosition{4, 3}));

    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(1, 1));
    move(Qt::LeftButton, 2, 1);
    move(Qt::LeftButton, 3, 2);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(3, 2));
    EXPECT_EQ(grid->selection(), (GridRect{1, 1, 3, 2}));
    EXPECT_TRUE(label("Linfo")->text().startsWith("X1/Y1 1/1\nX2/Y2 3/2\nx - column 3"));
    EXPECT_EQ(context->session.anchorCell(), (CellPosition{3, 2}));

    // The drag ended on (3, 2), so a right press there paints it.
    choose("CBtertype", 2);
    press(Qt::RightButton, 3, 2);
    EXPECT_EQ(cell(0, 3, 2).tertype, 2);
}

TEST_F(EditingWindow, LeftDragScrollsAtTheVisibleEdge)
{
    int pauses = 0;
    form->setScrollPause([&pauses] { ++pauses; });
    form->resize(594, 573);
    form->layoutGrid();
    grid->setLeftCol(5);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(6, 0));
    move(Qt::LeftButton, 5, 0);  // the first visible column, not the map's first
    EXPECT_EQ(grid->leftCol(), 4);
    EXPECT_EQ(pauses, 1);
    const int lastVisible = grid->leftCol() + grid->visibleColCount() - 1;
    move(Qt::LeftButton, lastVisible, 1);
    EXPECT_EQ(grid->leftCol(), 5);
    EXPECT_EQ(pauses, 2);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(lastVisible, 1));
}

TEST_F(EditingWindow, WheelScrollsRowsOrWithCtrlColumns)
{
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const auto wheel = [this](int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(centre(1, 1), grid->viewport()->mapToGlobal(centre(1, 1)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &event);
    };
    wheel(-120, Qt::NoModifier);
    EXPECT_EQ(grid->topRow(), 1);
    wheel(120, Qt::NoModifier);
    wheel(120, Qt::NoModifier);
    EXPECT_EQ(grid->topRow(), 0);
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(grid->leftCol(), 1);
    wheel(-120, Qt::ShiftModifier);
    EXPECT_EQ(grid->leftCol(), 1);
    EXPECT_EQ(grid->topRow(), 0);
    // Parts of a notch add up to one.
    wheel(-40, Qt::NoModifier);
    wheel(-40, Qt::NoModifier);
    EXPECT_EQ(grid->topRow(), 0);
    wheel(-40, Qt::NoModifier);
    EXPECT_EQ(grid->topRow(), 1);
}

TEST_F(EditingWindow, MiddleButtonTogglesThePanel)
{
    auto *panel = form->findChild<QGroupBox *>("GB");
    press(Qt::MiddleButton, 2, 2);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_GT(grid->width(), form->width() - panel->width());
    press(Qt::MiddleButton, 3, 3);
    EXPECT_TRUE(panel->isVisible());

    // A right click on the panel shows the configuration numbers; one on a
    // button of the panel does not.
    QTest::mouseClick(panel, Qt::RightButton, {}, QPoint(5, 500));
    EXPECT_TRUE(form->showConfigNumbers());
    QTest::mouseClick(button("Bopen"), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(form->showConfigNumbers());
    // A quick second click arrives as a double click: it toggles again.
    QTest::mouseClick(panel, Qt::RightButton, {}, QPoint(5, 500));
    QTest::mouseDClick(panel, Qt::RightButton, {}, QPoint(5, 500));
    EXPECT_TRUE(form->showConfigNumbers());
}

TEST_F(EditingWindow, UndoRestoresCellsAcrossLevels)
{
    choose("CBtertype", 2);
    press(Qt::RightButton, 1, 1);
    choose("CBlevel", 1);
    press(Qt::RightButton, 2, 2);
    choose("CBlevel", 0);
    EXPECT_EQ(button("Bundo")->text(), "Undo 2");

    button("Bundo")->click();
    EXPECT_EQ(button("Bundo")->text(), "Undo 1");
    EXPECT_EQ(cell(1, 2, 2).tertype, 0);
    EXPECT_EQ(combo("CBlevel")->currentIndex(), 1) << "undo shows the level of the restored cell";
    EXPECT_EQ(context->session.level(), 1);
    button("Bundo")->click();
    EXPECT_EQ(cell(0, 1, 1).tertype, 0);
    EXPECT_EQ(combo("CBlevel")->currentIndex(), 0);
}

TEST_F(EditingWindow, CopiedCellsPasteOnTheOtherLevel)
{
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(3, 3));
    move(Qt::LeftButton, 4, 3);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(4, 3));
    button("Bcopycells")->click();
    choose("CBlevel", 1);
    press(Qt::LeftButton, 10, 10);
    button("Bpastecells")->click();
    EXPECT_EQ(cell(1, 11, 10).tertype, 8);
    EXPECT_EQ(button("Bundo")->text(), "Undo 1") << "the equal cell of the block records nothing";
}

TEST_F(EditingWindow, SizeChangeAsksToSaveOnClose)
{
    choose("CBmapsize", 2);
    EXPECT_EQ(context->session.document().mapSize, 72u);
    EXPECT_EQ(grid->colCount(), 72);
    EXPECT_EQ(cell(0, 4, 3).tertype, 8);

    prompts->saveQuestionAnswer = UserPrompts::SaveAnswer::Save;
    EXPECT_TRUE(form->close());
    EXPECT_EQ(log.saveQuestions, QStringList{"Save Map?"});
    const MapLoadResult saved = readMapFile(mapPath);
    ASSERT_TRUE(saved.ok()) << qPrintable(saved.reason);
    EXPECT_EQ(saved.document->mapSize, 72u);
}

TEST_F(EditingWindow, ClosingWithoutEditsAsksNothing)
{
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(log.saveQuestions.isEmpty());
    EXPECT_TRUE(log.abouts.isEmpty());
}

TEST_F(EditingWindow, ObstacleWindowFollowsTheListsAndTheSelectedCell)
{
    // A catalogue in the current folder; the window reads it from the next start.
    dir.write("obstacle.ini", obstaclewriter::sectionText(2, 3, 4, {17, 35}) + obstaclewriter::sectionText(8, 4, 3, {1}));
    obstaclewriter::sampleBattlefieldPicture().save(dir.filePath("obstacle.bmp"), "BMP");
    form.reset();
    open();
    QWidget *obstacles = form->obstacleWindow();
    ASSERT_FALSE(obstacles->isVisible());

    // List mode: battlefield 2 at 3/4 shows the window.
    choose("CBobsty", 4);
    choose("CBobstx", 3);
    choose("CBobstter", 2);
    EXPECT_TRUE(obstacles->isVisible());
    EXPECT_EQ(context->session.obstacleView(), (ObstacleView{2, 3, 4}));
    // The caption is composed by the window's paint, once the window is on screen.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(obstacles));
    obstacles->repaint();
    EXPECT_EQ(obstacles->windowTitle(), "Obstacles. Grass 3/4");

    // Cell mode: a selected water cell, then a rock cell, while the window is open.
    choose("CBobstter", 10);
    press(Qt::LeftButton, 4, 3);
    EXPECT_EQ(context->session.obstacleView(), (ObstacleView{8, 4, 3}));
    press(Qt::LeftButton, 10, 10);
    EXPECT_EQ(context->session.obstacleView().battlefield, NoBattlefield);
    EXPECT_EQ(obstacles->windowTitle(), "There is no battlefield on a cell");

    // Closing only hides it; a hidden window is left alone by selections.
    obstacles->close();
    EXPECT_FALSE(obstacles->isVisible());
    press(Qt::LeftButton, 4, 3);
    EXPECT_EQ(context->session.obstacleView().battlefield, NoBattlefield);
    button("Bobstacles")->click();
    EXPECT_TRUE(obstacles->isVisible());
    EXPECT_EQ(context->session.obstacleView(), (ObstacleView{8, 4, 3}));
}

// A damaged sprite archive is no dead end: the map opens in plain colours, the
// user is told which file failed and why, and opening keeps working.
TEST(SpriteFallback, ADamagedArchiveOpensTheMapInPlainColours)
{
    TempDir dir;
    QDir(dir.path()).mkpath("game/data");
    dir.write("game/data/vdsprite.lod", QByteArray(300, 'x'));
    dir.write("brackwen.ini", "[Programm_options]\nlanguage=english\ngraphics=0\nuse_showobst=0\nuse_nagscreen=0\n"
                              "valdris_path=" + dir.filePath("game").toUtf8() + "\n");
    const QString map = dir.write("plain.vdm", plainMap());
    CurrentDirGuard current(dir.path());
    PromptLog log;
    EditorContext context(std::make_unique<FakePrompts>(log));
    TForm1 form(context);
    QStringList notes;
    QObject::connect(&form, &TForm1::statusMessage, [&notes](const QString &text) { notes << text; });
    form.document().open(map);
    ASSERT_TRUE(context.session.document().isLoaded);
    EXPECT_EQ(context.session.sprites(), nullptr);
    ASSERT_EQ(log.errors.size(), 1);
    EXPECT_TRUE(log.errors.first().contains("vdsprite.lod")) << qPrintable(log.errors.first());
    EXPECT_TRUE(log.errors.first().endsWith("the map is drawn in plain colours")) << qPrintable(log.errors.first());
    ASSERT_FALSE(notes.isEmpty());

    form.document().open(dir.write("again.vdm", plainMap()));
    EXPECT_EQ(context.session.fileName(), dir.filePath("again.vdm"));
    EXPECT_EQ(log.errors.size(), 1) << "told once";
}

TEST(ClosingWindow, AboutPromptCancelKeepsTheWindowOpen)
{
    TempDir dir;
    dir.write("brackwen.ini", settingsIni(1));
    CurrentDirGuard current(dir.path());
    PromptLog log;
    auto fake = std::make_unique<FakePrompts>(log);
    FakePrompts *prompts = fake.get();
    EditorContext context(std::move(fake));
    TForm1 form(context);
    form.show();

    prompts->aboutAnswer = UserPrompts::AboutAnswer::Cancel;
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(log.abouts.size(), 1);
    EXPECT_EQ(log.abouts.first(), "Brackwen v0.1.3.13, Created by Ostrel\rWish to visit "
                                  "https://brackwen.example.org/ and get info or updates? ");
    prompts->aboutAnswer = UserPrompts::AboutAnswer::No;
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(log.saveQuestions.isEmpty()) << "no map, no save prompt";
}

}  // namespace
