// Tests of the obstacle window: its fixed frame, closing that only hides it,
// what a paint draws, and repainting on the editor session's notice alone.
#include "ui/ObstacleWindow.h"

#include "obstacles/ObstacleCatalogue.h"
#include "obstacles/ObstacleView.h"
#include "session/EditorSession.h"
#include "writers/ObstacleCatalogueWriter.h"

#include "TempDir.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor Ground(40, 160, 60);

// A picture smaller than the window, so the window's own colour shows beside it.
QImage smallPicture()
{
    QImage picture(300, 200, QImage::Format_RGB888);
    picture.fill(Ground);
    return picture;
}

class ObstacleWindowTest : public ::testing::Test {
protected:
    static ObstacleCaptionTexts captionTexts()
    {
        ObstacleCaptionTexts texts{QStringLiteral("Obstacles"), QStringLiteral("There is no battlefield on a cell"),
                                   QStringLiteral("Shore"), {}};
        texts.terrain[2] = QStringLiteral("Grass");
        return texts;
    }

    ObstacleCaptionTexts texts = captionTexts();

    QImage paint() { return window.grab().toImage(); }

    ObstacleCatalogue catalogue = ObstacleCatalogue::inMemory(smallPicture(), "[2.3/4]\n1=1\n2=17\n3=200\n"
                                                                             "[9.0/0]\n1=186\n");
    ObstacleView view{2, 3, 4};
    TForm2 window{catalogue, view, texts};
};

TEST_F(ObstacleWindowTest, FixedDialogWindowAtItsDesignedPlace)
{
    EXPECT_EQ(window.objectName(), QStringLiteral("Form2"));
    EXPECT_EQ(window.size(), QSize(451, 256));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.pos(), QPoint(289, 152));
    EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.windowTitle().isEmpty());
}

TEST_F(ObstacleWindowTest, ClosingOnlyHides)
{
    window.show();
    QCloseEvent close;
    QCoreApplication::sendEvent(&window, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_FALSE(window.isVisible());
    window.show();
    EXPECT_TRUE(window.isVisible());
}

TEST_F(ObstacleWindowTest, PaintDrawsPictureMarksAndCaption)
{
    const QImage image = paint();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Obstacles. Grass 3/4"));
    const QColor black(Qt::black);
    // Hex 1: (40, 5) to (60, 20), exclusive.
    EXPECT_EQ(image.pixelColor(40, 5), black);
    EXPECT_EQ(image.pixelColor(59, 19), black);
    EXPECT_EQ(image.pixelColor(60, 12), Ground);
    EXPECT_EQ(image.pixelColor(50, 20), Ground);
    EXPECT_EQ(image.pixelColor(39, 12), Ground);
    // Hex 17 starts one pixel left of the window and is cut there.
    EXPECT_EQ(image.pixelColor(0, 28), black);
    EXPECT_EQ(image.pixelColor(18, 42), black);
    EXPECT_EQ(image.pixelColor(19, 35), Ground);
    // Hex 200 lies below the window; hex 186 is not listed for this view.
    EXPECT_EQ(image.pixelColor(440, 240), window.palette().color(QPalette::Window));
    EXPECT_EQ(image.pixelColor(150, 100), Ground);
}

TEST_F(ObstacleWindowTest, EveryPaintFollowsTheView)
{
    paint();
    view = {9, 0, 0};
    const QImage image = paint();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Obstacles. Shore 0/0"));
    EXPECT_EQ(image.pixelColor(440, 240), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(50, 12), Ground);
}

TEST_F(ObstacleWindowTest, NoBattlefieldShowsTheBarePictureAndKeepsTheCaption)
{
    view = {NoBattlefield, 3, 4};
    window.setWindowTitle(texts.noobstacles);
    const QImage image = paint();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("There is no battlefield on a cell"));
    EXPECT_EQ(image.pixelColor(50, 12), Ground);
    EXPECT_EQ(image.pixelColor(0, 30), Ground);
}

TEST_F(ObstacleWindowTest, EmptyListShowsThePictureWithTheFullCaption)
{
    view = {5, 6, 7};
    const QImage image = paint();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Obstacles.  6/7"));
    EXPECT_EQ(image.pixelColor(50, 12), Ground);
}

// Paints of a widget, counted.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST(SessionObstacles, TheWindowRepaintsOnTheSessionsNoticeAlone)
{
    TempDir dir;
    dir.write("obstacle.ini", obstaclewriter::sectionText(2, 3, 4, {17, 35}));
    obstaclewriter::sampleBattlefieldPicture().save(dir.filePath("obstacle.bmp"), "BMP");
    CurrentDirGuard current(dir.path());
    EditorSession session;
    session.loadCatalogue({true, true});
    ASSERT_TRUE(session.catalogue().isOn());

    ObstacleCaptionTexts texts{QStringLiteral("Obstacles"), QStringLiteral("None here"), QStringLiteral("Shore"), {}};
    texts.terrain[2] = QStringLiteral("Grass");
    TForm2 window(session.catalogue(), session.obstacleView(), texts);
    QObject::connect(&session, &EditorSession::obstacleViewChanged, &window, &TForm2::viewChanged);
    PaintCounter counter;
    window.installEventFilter(&counter);

    ObstacleRequest listMode;
    listMode.battlefieldItem = 2;
    listMode.xItem = 3;
    listMode.yItem = 4;
    session.chooseObstacles(listMode);
    EXPECT_TRUE(window.isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const int paints = counter.paints;
    EXPECT_EQ(window.windowTitle(), "Obstacles. Grass 3/4");

    // Cell mode without a map: nothing to show, no notice, no paint.
    session.chooseObstacles(ObstacleRequest{});
    EXPECT_EQ(counter.paints, paints);

    listMode.xItem = 5;
    session.chooseObstacles(listMode);
    EXPECT_GT(counter.paints, paints);
    EXPECT_EQ(window.windowTitle(), "Obstacles. Grass 5/4");
}

}  // namespace
