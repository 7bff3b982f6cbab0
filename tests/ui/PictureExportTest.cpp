// Exporting the current level as a PNG picture: what is drawn (sprites or
// colours, numbers, unsaved edits), what is proposed and asked, the refusals
// (too large, unwritable) that keep an earlier file, and the dialog.
#include "session/EditorSession.h"
#include "ui/ExportPictureDialog.h"
#include "session/PictureExport.h"
#include "edit/BrushSettings.h"
#include "gfx/CellRenderer.h"
#include "writers/MapWriter.h"

#include "FakePrompts.h"
#include "TempDir.h"
#include "gfx/SpriteFixtures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int Side = 36;
constexpr int GridCellSize = 16;

PictureExportTexts exportTexts()
{
    return {"Export picture",
            "Cell size:",
            "%1 x %2 pixels",
            "At %1 pixels a cell the picture is too large; %2 pixels a cell fit.",
            "Not enough memory for the picture at %1 pixels a cell.",
            "The picture could not be written to %1: %2",
            "PNG picture|*.png"};
}

QByteArray mapBytes(bool twoLevels)
{
    MapWriter map = MapWriter::patterned(Side, twoLevels);
    map.layers[0].at(3, 4) = TerrainCell{8, 2, 1, 3, 2, 5, 0};
    return map.data();
}

class PictureExport : public testing::Test {
protected:
    void open(bool twoLevels = true)
    {
        mapPath = dir.write("maps/island.vdm", mapBytes(twoLevels));
        ASSERT_TRUE(session.open(mapPath).ok());
    }
    void loadSprites()
    {
        for (const TileSpriteName &name : TileSpriteNames)
            dir.write("defs/" + QString::fromLatin1(name.name) + ".def", fixtureSpriteFile(name));
        const CurrentDirGuard current(dir.path());
        TileSpriteSource source{1, {}};
        ASSERT_EQ(session.loadSprites(source), TileLoadResult::Finished);
        ASSERT_NE(session.sprites(), nullptr);
    }
    // Exports with a question that records what it was offered and answers.
    PictureExportResult exportAs(std::optional<PictureExportAnswer> answer, bool numbers = false)
    {
        const PictureExportQuestion question = [this, answer](std::uint32_t side, const PictureExportAnswer &proposal) {
            ++questions;
            askedSide = side;
            proposed = proposal;
            return answer;
        };
        return exportPicture(session, GridCellSize, numbers, question, exportTexts());
    }

    TempDir dir;
    QString mapPath;
    EditorSession session;
    int questions = 0;
    std::uint32_t askedSide = 0;
    PictureExportAnswer proposed;
};

// The written file holds exactly the level picture of the document in memory,
// with its unsaved edit, drawn the way the session draws it.
TEST_F(PictureExport, WritesTheLevelAsShown)
{
    struct Case {
        bool sprites;
        bool numbers;
        int cellSize;
    };
    open();
    BrushSettings brush;
    brush.terrainType = 2;
    session.paint(brush, 10, 11);
    for (const Case c : {Case{false, false, 5}, Case{false, true, 32}, Case{true, false, 8}, Case{true, true, 32}}) {
        SCOPED_TRACE(testing::Message() << "sprites " << c.sprites << " numbers " << c.numbers << " cell "
                                        << c.cellSize);
        if (c.sprites && !session.sprites())
            loadSprites();
        const QString out = dir.filePath(QString("out-%1-%2-%3.png").arg(c.sprites).arg(c.numbers).arg(c.cellSize));
        const PictureExportResult result = exportAs(PictureExportAnswer{out, c.cellSize}, c.numbers);
        ASSERT_EQ(result.outcome, PictureExportResult::Outcome::Written) << result.message.toStdString();
        EXPECT_EQ(result.fileName, out) << "the window says where it wrote";
        EXPECT_EQ(askedSide, std::uint32_t(Side));
        EXPECT_EQ(proposed.cellSize, GridCellSize);
        EXPECT_EQ(proposed.fileName, dir.filePath("maps/island.png"));

        const QImage written(out);
        ASSERT_EQ(written.size(), QSize(Side * c.cellSize, Side * c.cellSize));
        const QImage expected = renderMapLevel(session.document(), c.cellSize, c.numbers, session.sprites());
        EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
        if (!c.sprites) {
            EXPECT_EQ(written.pixel(10 * c.cellSize + 1, 11 * c.cellSize + 1), TerrainColours[2]);
        }
        if (c.numbers) {
            EXPECT_NE(expected, renderMapLevel(session.document(), c.cellSize, false, session.sprites()));
        }
    }
}

TEST_F(PictureExport, CancelledOrWithoutALevelWritesNothing)
{
    // No map: nothing is asked.
    EXPECT_EQ(exportAs(PictureExportAnswer{dir.filePath("a.png"), 8}).outcome,
              PictureExportResult::Outcome::Cancelled);
    EXPECT_EQ(questions, 0);

    // Level 1 of a one-level map: the grid shows nothing, nor does a picture.
    open(false);
    session.selectLevel(1);
    EXPECT_EQ(exportAs(PictureExportAnswer{dir.filePath("a.png"), 8}).outcome,
              PictureExportResult::Outcome::Cancelled);
    EXPECT_EQ(questions, 0);

    session.selectLevel(0);
    EXPECT_EQ(exportAs(std::nullopt).outcome, PictureExportResult::Outcome::Cancelled);
    EXPECT_EQ(exportAs(PictureExportAnswer{QString(), 8}).outcome, PictureExportResult::Outcome::Cancelled);
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(QDir(dir.path()).entryList({"*.png"}), QStringList());
}

// A refusal says why and keeps whatever file the name had.
TEST_F(PictureExport, RefusalsKeepTheEarlierFile)
{
    open();
    const QString out = dir.write("kept.png", "earlier");

    // 1008 cells at 64 pixels are far beyond the limits; 22 pixels a cell fit.
    ASSERT_TRUE(session.resize(1008));
    ASSERT_EQ(largestFittingCellSize(1008), 22);
    PictureExportResult result = exportAs(PictureExportAnswer{out, 64});
    EXPECT_EQ(result.outcome, PictureExportResult::Outcome::Refused);
    EXPECT_EQ(result.message, "At 64 pixels a cell the picture is too large; 22 pixels a cell fit.");
    EXPECT_EQ(pictureTooLargeText(exportTexts(), 1008, 22), QString());

    // A folder where the file should go cannot be written.
    result = exportAs(PictureExportAnswer{dir.path(), 1});
    EXPECT_EQ(result.outcome, PictureExportResult::Outcome::Refused);
    EXPECT_TRUE(result.message.startsWith("The picture could not be written to " + QDir::toNativeSeparators(dir.path())
                                          + ": "))
        << result.message.toStdString();

    QFile kept(out);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "earlier");
}

TEST(ExportPictureDialogTest, ShowsThePictureSizeOrTheSizeThatFits)
{
    ExportPictureDialog dialog(exportTexts(), PromptButtons{}, 1008, GridCellSize);
    auto *cellSize = dialog.findChild<QSpinBox *>("exportCellSize");
    auto *note = dialog.findChild<QLabel *>("exportNote");
    ASSERT_TRUE(cellSize && note);
    const auto ok = [&dialog] {
        for (QPushButton *button : dialog.findChildren<QPushButton *>())
            if (button->text() == "OK")
                return button;
        return static_cast<QPushButton *>(nullptr);
    }();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Export picture");
    EXPECT_EQ(cellSize->minimum(), 1);
    EXPECT_EQ(cellSize->maximum(), 64);
    EXPECT_EQ(dialog.cellSize(), GridCellSize);
    EXPECT_EQ(note->text(), "16128 x 16128 pixels");
    EXPECT_TRUE(ok->isEnabled());

    cellSize->setValue(23);
    EXPECT_EQ(note->text(), "At 23 pixels a cell the picture is too large; 22 pixels a cell fit.");
    EXPECT_FALSE(ok->isEnabled());
    cellSize->setValue(22);
    EXPECT_EQ(note->text(), "22176 x 22176 pixels");
    EXPECT_TRUE(ok->isEnabled());
}

// The real question: the dialog, then the file through the prompts.
TEST(ExportPictureDialogTest, AskRunsTheDialogThenTheFileQuestion)
{
    PromptLog log;
    FakePrompts prompts(log);
    prompts.saveAnswer = "/somewhere/level.png";
    const auto answerDialog = [](bool accept) {
        QTimer::singleShot(0, [accept] {
            auto *dialog = qobject_cast<ExportPictureDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QSpinBox *>("exportCellSize")->setValue(10);
            accept ? dialog->accept() : dialog->reject();
        });
    };
    const PictureExportAnswer proposal{"/maps/island.png", GridCellSize};

    answerDialog(false);
    EXPECT_FALSE(ExportPictureDialog::ask(nullptr, prompts, exportTexts(), PromptButtons{}, Side, proposal));
    EXPECT_EQ(log.saveDialogs, 0);

    answerDialog(true);
    const std::optional<PictureExportAnswer> answer =
        ExportPictureDialog::ask(nullptr, prompts, exportTexts(), PromptButtons{}, Side, proposal);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->fileName, "/somewhere/level.png");
    EXPECT_EQ(answer->cellSize, 10);
    EXPECT_EQ(log.saveDialogs, 1);

    prompts.saveAnswer.clear();
    answerDialog(true);
    EXPECT_FALSE(ExportPictureDialog::ask(nullptr, prompts, exportTexts(), PromptButtons{}, Side, proposal));
}

}  // namespace
