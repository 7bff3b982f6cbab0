// The Generate terrain dialog in the editor, driven as a user does: its
// options give the bytes the command-line tool gives, one Ctrl+Z gives the map
// back, Cancel changes nothing, options that cannot be met keep Generate
// disabled with the reason, and the options are remembered.
#include "generate/TerrainGenerator.h"
#include "ui/GenerateTerrainDialog.h"

#include "CliRunner.h"
#include "DesktopWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

QByteArray sampleRulesText()
{
    QFile file(QStringLiteral(BRACKWEN_SAMPLE_RULES));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class GenerateDialogTest : public DesktopWindow {
protected:
    GenerateDialogTest() { edgeRules = sampleRulesText(); }

    void SetUp() override
    {
        DesktopWindow::SetUp();
        openMap();
    }

    QByteArray mapBytes() const { return serializeMapData(context->session.document()); }

    // Opens the dialog from the Edit menu and hands it to work while it is
    // shown; work closes it.
    void withDialog(const std::function<void(GenerateTerrainDialog &)> &work)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<GenerateTerrainDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ran = true;
            work(*dialog);
        });
        trigger("actionGenerateTerrain");
        EXPECT_TRUE(ran);
    }

    static QPushButton *button(GenerateTerrainDialog &dialog, const char *name)
    {
        return dialog.findChild<QPushButton *>(QLatin1String(name));
    }
};

GenerateOptions fairIslands()
{
    return {31337, SymmetryMode::FourWay, LandStyle::Islands, 50, 1, 10, 1, RoadPlan::Centre, 0};
}

TEST_F(GenerateDialogTest, GenerateWritesTheBytesOfTheToolAsOneStepThatOneUndoTakesBack)
{
    const QByteArray before = mapBytes();
    const GenerateOptions options = fairIslands();
    withDialog([&](GenerateTerrainDialog &dialog) {
        dialog.setOptions(options);
        QApplication::processEvents();
        EXPECT_EQ(dialog.refusal(), QString());
        EXPECT_FALSE(dialog.findChild<QLabel *>("preview")->pixmap().isNull());
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_NE(mapBytes(), before);

    const QString toolOut = dir.filePath("tool.vdm");
    const CliRun run = runCli({"generate", mapPath, toolOut, "--seed", "31337", "--symmetry", "four-way", "--style",
                               "islands", "--water", "50", "--mix", "northern", "--rough", "10", "--rivers", "1",
                               "--roads", "centre", "--rules", dir.filePath("terrain-edges.ini")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    MapLoadResult tool = loadMapData(readFile(toolOut));
    ASSERT_TRUE(tool.ok());
    EXPECT_EQ(serializeMapData(*tool.document), mapBytes());

    ASSERT_TRUE(context->session.history().canUndo());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapBytes(), before);
    EXPECT_FALSE(context->session.history().canUndo()) << "one step";
}

TEST_F(GenerateDialogTest, CancelChangesNothingAndTheOptionsAreRememberedAfterGenerate)
{
    const QByteArray before = mapBytes();
    withDialog([&](GenerateTerrainDialog &dialog) {
        dialog.setOptions(fairIslands());
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(mapBytes(), before);
    EXPECT_FALSE(context->session.history().canUndo());

    GenerateOptions chosen = fairIslands();
    chosen.seed = 4000000000u;
    chosen.style = LandStyle::Coast;
    chosen.roads = RoadPlan::Players;
    withDialog([&](GenerateTerrainDialog &dialog) {
        dialog.setOptions(chosen);
        button(dialog, "generate")->click();
    });
    withDialog([&](GenerateTerrainDialog &dialog) {
        EXPECT_EQ(dialog.options(), chosen);
        dialog.reject();
    });
}

TEST_F(GenerateDialogTest, OptionsThatCannotBeMetKeepGenerateDisabledAndSayWhich)
{
    struct Case {
        const char *name;
        std::function<void(GenerateOptions &)> change;
        QString reason;
    };
    const InterfaceTexts &t = context->texts;
    const Case cases[] = {
        {"islands in little water", [](GenerateOptions &o) { o.waterPercent = 20; }, t.genwaterrange.arg("Islands").arg(35).arg(80)},
        {"roads between one side", [](GenerateOptions &o) { o.symmetry = SymmetryMode::Off; o.roads = RoadPlan::Players; }, t.genoneside},
        {"a seed beyond 32 bits", {}, t.genbadseed},
    };
    withDialog([&](GenerateTerrainDialog &dialog) {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.name);
            GenerateOptions options = fairIslands();
            if (c.change)
                c.change(options);
            dialog.setOptions(options);
            if (!c.change)
                dialog.findChild<QLineEdit *>("seed")->setText("4294967296");
            QApplication::processEvents();
            EXPECT_EQ(dialog.refusal(), c.reason);
            EXPECT_FALSE(button(dialog, "generate")->isEnabled());
            QTest::keyClick(&dialog, Qt::Key_Return);
            EXPECT_TRUE(dialog.isVisible()) << "Return does not generate";
        }
        dialog.setOptions(fairIslands());
        QApplication::processEvents();
        EXPECT_TRUE(button(dialog, "generate")->isEnabled());
        // Choosing a land style brings the water share into its range.
        auto *style = dialog.findChild<QComboBox *>("style");
        style->setCurrentIndex(style->findData("lakes"));
        EXPECT_EQ(dialog.options().waterPercent, 40);
        style->setCurrentIndex(style->findData("islands"));
        EXPECT_EQ(dialog.options().waterPercent, 40);
        dialog.reject();
    });
    EXPECT_FALSE(context->session.history().canUndo());
}

}  // namespace
