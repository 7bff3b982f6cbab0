// Tests of the obstacle window: its fixed frame, closing that only hides it,
// and what a paint draws.
#include "obstacles/ObstacleWindow.h"

#include "obstacles/ObstacleCatalogue.h"
#include "obstacles/ObstacleView.h"

#include <QCloseEvent>
#include <QCoreApplication>

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

}  // namespace
