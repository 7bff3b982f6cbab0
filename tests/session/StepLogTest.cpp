// The list of the history's steps, followed through the session: each
// command's name and size, the current row through undo, redo and single
// cells taken back, size changes, new edits after undo, recovered steps and
// another map; and moving to a row one step at a time.
#include "session/StepLog.h"

#include "edit/BrushSettings.h"
#include "edit/CellEditor.h"
#include "session/EditorSession.h"
#include "session/Settings.h"
#include "writers/MapWriter.h"

#include "TempDir.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A two-level 36 x 36 map, all zero but one water cell on the ground at
// column 4, row 3.
QByteArray smallMap()
{
    MapWriter map = MapWriter::patterned(36, true);
    map.layers = {TerrainLayer(36), TerrainLayer(36)};
    map.layers[0].at(3, 4).tertype = 8;
    return map.data();
}

BrushSettings brush(std::uint8_t type, std::uint8_t width = 1, std::uint8_t height = 1)
{
    BrushSettings settings;
    settings.terrainType = type;
    settings.brushWidth = width;
    settings.brushHeight = height;
    return settings;
}

// A stroke of two dabs of a 2 x 2 brush on the same cells, the second of
// another terrain: 8 undo records, 4 cells.
void stroke(EditorSession &session)
{
    session.beginStep(StepKind::Stroke);
    session.paint(brush(3, 2, 2), 1, 1);
    session.paint(brush(5, 2, 2), 1, 1);
    session.endStep();
}

// A road of 20 cells along row 5.
void road(EditorSession &session)
{
    session.layPath(PathLayer::Road, 1, {2, 5}, {21, 5}, false, 0);
}

// A fill of the empty underground with a river: every cell of it.
void riverFill(EditorSession &session)
{
    BrushSettings fill;
    fill.paintTerrain = false;
    fill.terrainType = 10;
    fill.paintRiver = true;
    fill.riverType = 1;
    fill.fillX = fill.fillY = true;
    session.selectLevel(1);
    session.setAnchorCell({5, 5});
    session.paint(fill, 5, 5);
    session.selectLevel(0);
}

struct Case {
    const char *name;
    std::function<void(EditorSession &session, TempDir &dir)> run;
    QStringList rows;
    int current;
};

class StepLogTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(session.open(dir.write("map.vdm", smallMap())).ok()); }

    QList<StepLog::State> states() const
    {
        QList<StepLog::State> all;
        for (int row = 0; row < log.rowCount(); ++row)
            all << StepLog::State(log.index(row).data(StepLog::StateRole).toInt());
        return all;
    }

    TempDir dir;
    EditorSession session;
    InterfaceTexts texts;
    StepLog log{session, texts};
};

TEST_F(StepLogTest, NamesSizesAndTheCurrentRowFollowTheSession)
{
    using S = EditorSession;
    const std::vector<Case> cases = {
        {"a stroke counts each cell once", [](S &s, TempDir &) { stroke(s); },
         {"Opened map.vdm", "Brush, 4 cells"}, 1},
        {"brush fill", [](S &s, TempDir &) { riverFill(s); }, {"Opened map.vdm", "Brush fill, 1296 cells"}, 1},
        {"fill any terrain",
         [](S &s, TempDir &) { s.replaceFill(brush(3), 10, 10, false); },
         {"Opened map.vdm", "Fill any terrain, 1295 cells"}, 1},
        {"road and river",
         [](S &s, TempDir &) {
             road(s);
             s.layPath(PathLayer::River, 2, {7, 0}, {7, 9}, false, 0);
         },
         {"Opened map.vdm", "Road, 20 cells", "River, 10 cells"}, 2},
        {"transforms say which",
         [](S &s, TempDir &) {
             s.transform(Transform::FlipHorizontal, {TransformTarget::Kind::Selection, QRect(QPoint(3, 3), QPoint(5, 3))});
             s.transform(Transform::Turn90, {TransformTarget::Kind::Selection, QRect(QPoint(3, 2), QPoint(4, 3))});
             s.mirrorHalf(LevelHalf::Top);
         },
         {"Opened map.vdm", "Flip left–right, 3 cells", "Turn 90° clockwise, 3 cells",
          "Mirror the top half onto the bottom, 648 cells"},
         3},
        {"each half mirrored is named",
         [](S &s, TempDir &) {
             // A cell of its own before each, so that every mirror changes the level.
             std::uint8_t type = 2;
             for (const LevelHalf half : {LevelHalf::Left, LevelHalf::Right, LevelHalf::Top, LevelHalf::Bottom}) {
                 s.paint(brush(type++), 0, 0);
                 s.mirrorHalf(half);
             }
         },
         {"Opened map.vdm", "Brush, 1 cell", "Mirror the left half onto the right, 648 cells", "Brush, 1 cell",
          "Mirror the right half onto the left, 1 cell", "Brush, 1 cell", "Mirror the top half onto the bottom, 648 cells",
          "Brush, 1 cell", "Mirror the bottom half onto the top, 1 cell"},
         8},
        {"a path taken off is named so, one also laid is not",
         [](S &s, TempDir &) {
             road(s);
             s.layPath(PathLayer::Road, 1, {2, 5}, {21, 5}, true, 0);
             s.layPath(PathLayer::River, 2, {7, 0}, {7, 9}, false, 0);
             s.beginStep(StepKind::Path);
             s.layPath(PathLayer::River, 2, {7, 0}, {7, 4}, true, 0);
             s.layPath(PathLayer::River, 2, {7, 4}, {7, 9}, false, 0);
             s.endStep();
         },
         {"Opened map.vdm", "Road, 20 cells", "Road taken off, 20 cells", "River, 10 cells", "River, 5 cells"}, 4},
        {"paste and fill selection",
         [](S &s, TempDir &) {
             s.copy(QRect(QPoint(3, 3), QPoint(4, 3)));
             s.paste(10, 10);
             s.fillSelection(brush(2), QRect(QPoint(0, 20), QPoint(2, 21)));
         },
         {"Opened map.vdm", "Paste, 1 cell", "Fill selection, 6 cells"}, 2},
        {"undo leaves the step listed after the current row",
         [](S &s, TempDir &) {
             stroke(s);
             road(s);
             s.undoStep();
         },
         {"Opened map.vdm", "Brush, 4 cells", "Road, 20 cells"}, 1},
        {"redo makes it current again",
         [](S &s, TempDir &) {
             stroke(s);
             road(s);
             s.undoStep();
             s.undoStep();
             s.redoStep();
         },
         {"Opened map.vdm", "Brush, 4 cells", "Road, 20 cells"}, 1},
        {"single cells taken back leave the step current, partly",
         [](S &s, TempDir &) {
             stroke(s);
             road(s);
             for (int i = 0; i < 3; ++i)
                 s.undoLast();
         },
         {"Opened map.vdm", "Brush, 4 cells", "Road, 17 of 20 cells"}, 2},
        {"redo makes a partly undone step whole",
         [](S &s, TempDir &) {
             road(s);
             s.undoLast();
             s.redoStep();
         },
         {"Opened map.vdm", "Road, 20 cells"}, 1},
        {"undo takes back the rest of a partly undone step",
         [](S &s, TempDir &) {
             stroke(s);
             road(s);
             s.undoLast();
             s.undoStep();
         },
         {"Opened map.vdm", "Brush, 4 cells", "Road, 20 cells"}, 1},
        {"a size change and its undo",
         [](S &s, TempDir &) {
             road(s);
             s.resize(72);
             s.resize(40);
             s.undoStep();
         },
         {"Opened map.vdm", "Road, 20 cells", "Map size 36 → 72", "Map size 72 → 40"}, 2},
        {"a new edit drops what could be redone",
         [](S &s, TempDir &) {
             stroke(s);
             road(s);
             s.resize(72);
             s.undoStep();
             s.undoStep();
             s.replaceFill(brush(2), 30, 30, false);
         },
         {"Opened map.vdm", "Brush, 4 cells", "Fill any terrain, 1291 cells"}, 2},
        {"a new edit after single cells keeps the rest of the step",
         [](S &s, TempDir &) {
             road(s);
             for (int i = 0; i < 5; ++i)
                 s.undoLast();
             s.paint(brush(2), 0, 30);
         },
         {"Opened map.vdm", "Road, 15 cells", "Brush, 1 cell"}, 2},
        {"recovered and generated steps",
         [](S &s, TempDir &) {
             static const TerrainCell rock{9};
             s.replayStep([](MapDocument &, CellEditor &editor) {
                 for (std::uint16_t column = 0; column < 3; ++column)
                     editor.replaceCells(column, 0, std::span(&rock, 1));
                 return QString();
             });
             s.replayStep(
                 [](MapDocument &, CellEditor &editor) {
                     editor.replaceCells(0, 1, std::span(&rock, 1));
                     return QString();
                 },
                 StepKind::Generate);
         },
         {"Opened map.vdm", "Recovered edits, 3 cells", "Generate terrain, 1 cell"}, 2},
        {"another map starts the list again",
         [](S &s, TempDir &dir) {
             stroke(s);
             s.open(dir.write("other.vdm", smallMap()));
         },
         {"Opened other.vdm"}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir caseDir;
        EditorSession caseSession;
        ASSERT_TRUE(caseSession.open(caseDir.write("map.vdm", smallMap())).ok());
        StepLog caseLog(caseSession, texts);
        c.run(caseSession, caseDir);
        QStringList listed;
        for (int row = 0; row < caseLog.rowCount(); ++row)
            listed << caseLog.index(row).data().toString();
        EXPECT_EQ(listed.join(u'|').toStdString(), c.rows.join(u'|').toStdString());
        EXPECT_EQ(caseLog.currentRow(), c.current);
        for (int row = 0; row < caseLog.rowCount(); ++row)
            EXPECT_EQ(caseLog.state(row), row < c.current    ? StepLog::State::Done
                                          : row == c.current ? StepLog::State::Current
                                                             : StepLog::State::Undone)
                << "row " << row;
    }
}

TEST_F(StepLogTest, MovingToARowGoesOneStepAtATime)
{
    stroke(session);
    road(session);
    ASSERT_TRUE(session.resize(72));
    QSignalSpy moved(&session, &EditorSession::historyMoved);

    log.moveTo(1);
    EXPECT_EQ(moved.count(), 2);
    EXPECT_EQ(log.currentRow(), 1);
    EXPECT_EQ(session.document().mapSize, 36u);
    EXPECT_EQ(states(), (QList{StepLog::State::Done, StepLog::State::Current, StepLog::State::Undone,
                               StepLog::State::Undone}));

    log.moveTo(3);
    EXPECT_EQ(moved.count(), 4);
    EXPECT_EQ(log.currentRow(), 3);
    EXPECT_EQ(session.document().mapSize, 72u);

    log.moveTo(0);
    EXPECT_EQ(moved.count(), 7);
    EXPECT_EQ(log.currentRow(), 0);
    EXPECT_FALSE(session.hasUnsavedChanges());

    // Choosing the current row, or no row, moves nothing.
    log.moveTo(0);
    log.moveTo(9);
    EXPECT_EQ(moved.count(), 7);
}

TEST_F(StepLogTest, APartlyUndoneStepIsMadeWholeOrTakenBackByChoosingARow)
{
    stroke(session);
    road(session);
    session.undoLast();
    session.undoLast();
    ASSERT_EQ(log.text(2), "Road, 18 of 20 cells");
    QSignalSpy moved(&session, &EditorSession::historyMoved);

    // Its own row puts back the rest: one redo.
    log.moveTo(2);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(log.text(2), "Road, 20 cells");
    EXPECT_EQ(log.currentRow(), 2);

    session.undoLast();
    // The row before takes back the rest: one undo.
    log.moveTo(1);
    EXPECT_EQ(moved.count(), 3);
    EXPECT_EQ(log.currentRow(), 1);
    EXPECT_EQ(log.text(2), "Road, 20 cells");
    EXPECT_EQ(session.document().ground.at(5, 10).roadtype, 0);

    // A mover of the caller's is used instead of the session's own.
    QList<bool> asked;
    log.moveTo(2, [&](bool undo) {
        asked << undo;
        session.redoStep();
    });
    EXPECT_EQ(asked, QList{false});
    EXPECT_EQ(log.currentRow(), 2);
}

TEST_F(StepLogTest, AListMadeWhileAMapIsOpenStartsFromIt)
{
    stroke(session);
    StepLog late(session, texts);
    EXPECT_EQ(late.rowCount(), 1);
    road(session);
    EXPECT_EQ(late.text(1), "Road, 20 cells");
    late.moveTo(0);
    EXPECT_EQ(late.currentRow(), 0);
    EXPECT_EQ(session.document().ground.at(1, 1).tertype, 5) << "the stroke before the list stays";

    EditorSession closed;
    StepLog empty(closed, texts);
    EXPECT_EQ(empty.rowCount(), 0);
    EXPECT_EQ(empty.currentRow(), -1);
}

}  // namespace
