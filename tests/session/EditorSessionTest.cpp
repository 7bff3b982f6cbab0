// The editor session: opening, and the change notices of editing operations.
#include "session/EditorSession.h"

#include "edit/BrushSettings.h"
#include "writers/MapWriter.h"

#include "TempDir.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>

namespace {

// A two-level 36 x 36 map, all zero but one water cell on the ground.
QByteArray emptyMap()
{
    MapWriter map = MapWriter::patterned(36, true);
    map.layers = {TerrainLayer(36), TerrainLayer(36)};
    map.layers[0].at(3, 4).tertype = 8;
    return map.data();
}

class SessionTest : public testing::Test {
protected:
    void SetUp() override
    {
        const MapOpenResult opened = session.open(dir.write("map.vdm", emptyMap()));
        ASSERT_TRUE(opened.ok()) << opened.reason.toStdString();
    }

    TempDir dir;
    EditorSession session;
};

TEST_F(SessionTest, OpenMakesAReadOnlyMapWritable)
{
    const QString path = dir.write("readonly.vdm", emptyMap());
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    QSignalSpy opened(&session, &EditorSession::mapOpened);
    EXPECT_TRUE(session.open(path).ok());
    EXPECT_TRUE(QFile::permissions(path) & QFile::WriteOwner);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(session.fileName(), path);

    // A refused file changes nothing.
    EXPECT_FALSE(session.open(dir.write("broken.vdm", QByteArray(2000, 'x'))).ok());
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(session.fileName(), path);
    EXPECT_TRUE(session.document().isLoaded);
}

TEST_F(SessionTest, AFillIsOneNoticeOfItsRectangle)
{
    ASSERT_TRUE(session.selectLevel(1));
    QSignalSpy changed(&session, &EditorSession::cellsChanged);
    QSignalSpy undoCount(&session, &EditorSession::undoCountChanged);
    BrushSettings fill;  // a river on every cell of the empty level, terrain kept
    fill.paintTerrain = false;
    fill.terrainType = 10;
    fill.paintRiver = true;
    fill.riverType = 1;
    fill.fillX = fill.fillY = true;
    session.setAnchorCell({5, 5});
    EXPECT_EQ(session.paint(fill, 5, 5), 36u * 36u);

    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 1);
    EXPECT_EQ(changed.at(0).at(1).toRect(), QRect(0, 0, 36, 36));
    ASSERT_EQ(undoCount.count(), 1);
    EXPECT_EQ(undoCount.at(0).at(0).value<std::size_t>(), 36u * 36u);

    // Painting what the cells already hold changes nothing and says nothing.
    EXPECT_EQ(session.paint(fill, 5, 5), 0u);
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(SessionTest, APasteIsOneNoticeOfTheWrittenBlock)
{
    BrushSettings brush;
    brush.terrainType = 3;
    brush.brushWidth = 3;
    brush.brushHeight = 2;
    session.paint(brush, 1, 1);
    ASSERT_TRUE(session.copy(QRect(QPoint(1, 1), QPoint(3, 2))));

    ASSERT_TRUE(session.selectLevel(1));
    QSignalSpy changed(&session, &EditorSession::cellsChanged);
    EXPECT_EQ(session.paste(34, 10), 4u) << "clipped at the right edge";
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 1);
    EXPECT_EQ(changed.at(0).at(1).toRect(), QRect(34, 10, 2, 2));

    // Undo announces the restored cell on its own level.
    const UndoStep step = session.undoLast();
    ASSERT_EQ(step.outcome, UndoStep::Outcome::Restored);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(1).at(0).toInt(), 1);
    EXPECT_EQ(changed.at(1).at(1).toRect(), QRect(step.column, step.row, 1, 1));
}

TEST_F(SessionTest, LevelAndSizeAreAnnounced)
{
    QSignalSpy level(&session, &EditorSession::levelChanged);
    QSignalSpy resized(&session, &EditorSession::mapResized);
    EXPECT_TRUE(session.selectLevel(1));
    ASSERT_EQ(level.count(), 1);
    EXPECT_EQ(level.at(0).at(0).toInt(), 1);
    EXPECT_TRUE(level.at(0).at(1).toBool());

    EXPECT_TRUE(session.resize(72));
    ASSERT_EQ(resized.count(), 1);
    EXPECT_EQ(resized.at(0).at(0).toInt(), 72);
    EXPECT_EQ(level.count(), 2) << "the grid shows the level anew";
    EXPECT_TRUE(session.hasUnsavedChanges());
    EXPECT_FALSE(session.isResizing());
}

// The size list offers the steps of the side a map was opened with, through
// every change of its side, until another map is opened.
TEST_F(SessionTest, TheSizeListKeepsTheStepsOfTheOpenedSide)
{
    const auto steps = [&] { return std::pair{int(session.sizeSteps().step), int(session.sizeSteps().count)}; };
    EXPECT_EQ(steps(), std::pair(36, 4));
    ASSERT_TRUE(session.open(dir.write("other.vdm", MapWriter::patterned(50, false).data())).ok());
    EXPECT_EQ(steps(), std::pair(18, 500));
    ASSERT_TRUE(session.resize(72));
    EXPECT_EQ(steps(), std::pair(18, 500)) << "a standard side reached by a change keeps the other steps";
    ASSERT_TRUE(session.open(dir.write("map.vdm", emptyMap())).ok());
    EXPECT_EQ(steps(), std::pair(36, 4));
}

// The chosen level is the session's: another map opens on it when it has
// that level, and a one-level map then shows nothing to edit.
TEST_F(SessionTest, AnotherMapOpensOnTheChosenLevel)
{
    ASSERT_TRUE(session.open(dir.write("two.vdm", MapWriter::patterned(36, true).data())).ok());
    ASSERT_TRUE(session.selectLevel(1));
    ASSERT_TRUE(session.open(dir.write("other.vdm", MapWriter::patterned(72, true).data())).ok());
    EXPECT_EQ(session.level(), 1);
    EXPECT_EQ(session.layerLevel(), 1);
    EXPECT_EQ(&session.currentLayer(), &session.document().underground);
    ASSERT_TRUE(session.open(dir.write("one.vdm", MapWriter::patterned(50, false).data())).ok());
    EXPECT_EQ(session.level(), 1);
    EXPECT_FALSE(session.levelShown());
    EXPECT_EQ(session.layerLevel(), 0) << "the ground stays under the hidden grid";
    BrushSettings brush;
    brush.terrainType = 2;
    const TerrainLayer before = session.document().ground;
    EXPECT_EQ(session.paint(brush, 1, 1), 0u);
    EXPECT_EQ(session.document().ground, before) << "nothing to edit on a level the map lacks";
}

// Every edit that can run long asks the window for its busy cursor and
// progress, under the name of its kind of work.
TEST_F(SessionTest, LongEditsShowTheyAreBusy)
{
    std::vector<EditorSession::Work> asked;
    session.setProgressFactory([&asked](EditorSession::Work work, const QString &) {
        asked.push_back(work);
        return ProgressCallback();
    });
    BrushSettings brush;
    brush.terrainType = 2;
    session.beginStep();
    session.paint(brush, 1, 1);
    session.endStep();
    ASSERT_TRUE(session.copy(QRect(0, 0, 2, 2)));
    asked.clear();
    session.undoStep();
    session.redoStep();
    session.paste(5, 5);
    session.resize(72);
    using Work = EditorSession::Work;
    EXPECT_EQ(asked, (std::vector<Work>{Work::Edit, Work::Edit, Work::Edit, Work::Resize}));
}

}  // namespace
