// The history dock in the main window, driven as a user does: View, History
// shows it (hidden at first start, remembered), a click on an earlier row
// undoes to it and on a later row redoes to it, one step at a time, each move
// journalled; the current row stays selected.
#include "edit/BrushSettings.h"
#include "journal/EditJournal.h"
#include "session/EditorSession.h"
#include "ui/HistoryDock.h"

#include "DesktopWindow.h"

#include <QListView>
#include <QSignalSpy>

namespace {

class HistoryWindow : public DesktopWindow {
protected:
    void SetUp() override
    {
        DesktopWindow::SetUp();
        openMap();
        dock = window->findChild<HistoryDock *>(QStringLiteral("HistoryDock"));
        ASSERT_NE(dock, nullptr);
        view = dock->view();
    }

    void clickRow(int row) const
    {
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        ASSERT_TRUE(rect.isValid());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }
    QString rowText(int row) const { return view->model()->index(row, 0).data().toString(); }
    int selectedRow() const { return view->selectionModel()->currentIndex().row(); }

    HistoryDock *dock = nullptr;
    QListView *view = nullptr;
};

TEST_F(HistoryWindow, ViewHistoryShowsTheDockAndTheChoiceIsRemembered)
{
    EXPECT_FALSE(dock->isVisible());
    trigger("actionHistory");
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(action("actionHistory")->text(), "&History");
    EXPECT_EQ(dock->windowTitle(), "History");
    ASSERT_EQ(view->model()->rowCount(), 1);
    EXPECT_EQ(rowText(0), "Opened plain.vdm");

    // The next window shows it again; closing it with its own button is remembered too.
    window.reset();
    window = std::make_unique<MainWindow>(*context, *preferences);
    window->show();
    auto *again = window->findChild<HistoryDock *>(QStringLiteral("HistoryDock"));
    EXPECT_TRUE(again->isVisible());
    again->close();
    window.reset();
    window = std::make_unique<MainWindow>(*context, *preferences);
    window->show();
    EXPECT_FALSE(window->findChild<HistoryDock *>(QStringLiteral("HistoryDock"))->isVisible());
}

TEST_F(HistoryWindow, ClickingARowUndoesOrRedoesStepByStepToIt)
{
    trigger("actionHistory");
    EditorSession &session = context->session;
    BrushSettings snow;
    snow.terrainType = 3;
    snow.brushWidth = 2;
    session.paint(snow, 10, 10);
    session.layPath(PathLayer::Road, 1, {2, 5}, {21, 5}, false, 0);
    session.transform(Transform::FlipHorizontal, {TransformTarget::Kind::Level, {}});
    ASSERT_EQ(view->model()->rowCount(), 4);
    EXPECT_EQ(rowText(1), "Brush, 2 cells");
    EXPECT_EQ(rowText(2), "Road, 20 cells");
    EXPECT_TRUE(rowText(3).startsWith("Flip left–right, ")) << rowText(3).toStdString();
    EXPECT_EQ(selectedRow(), 3);
    QSignalSpy moved(&session, &EditorSession::historyMoved);

    clickRow(1);
    EXPECT_EQ(moved.count(), 2) << "two steps, one at a time";
    EXPECT_EQ(dock->log()->currentRow(), 1);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(type(10, 10), 3);
    EXPECT_EQ(context->session.document().ground.at(5, 10).roadtype, 0);
    EXPECT_EQ(view->model()->rowCount(), 4) << "the undone steps stay listed";

    clickRow(3);
    EXPECT_EQ(moved.count(), 4);
    EXPECT_EQ(dock->log()->currentRow(), 3);
    EXPECT_EQ(selectedRow(), 3);
    EXPECT_EQ(context->session.document().ground.at(5, 25).roadtype, 1) << "the road, flipped";

    clickRow(0);
    EXPECT_EQ(moved.count(), 7);
    EXPECT_EQ(type(10, 10), 0);
    EXPECT_FALSE(session.hasUnsavedChanges());

    // The journal holds the three steps and each of the seven moves.
    context->journal.waitUntilWritten();
    EXPECT_EQ(readJournal(context->journal.journalPath()).recordCount(), 10u);
}

}  // namespace
