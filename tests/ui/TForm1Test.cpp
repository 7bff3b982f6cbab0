// The main window after start-up, and the grid's fit to the window.
#include "ui/DrawGrid.h"
#include "ui/EditorContext.h"
#include "ui/TForm1.h"

#include "gfx/SpriteFixtures.h"
#include "writers/LodWriter.h"

#include "FakePrompts.h"
#include "TempDir.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

#include <gtest/gtest.h>

#include <vector>

namespace {

const char *const englishIni = R"([Programm_options]
language=english
graphics=2
use_nagscreen=0
[english]
bopenmap=Open Map
terrain0=Dirt
terrain8=Water
terrain9=Rock
)";

class MainWindow : public testing::Test {
protected:
    std::unique_ptr<TForm1> start(const QByteArray &ini = {})
    {
        if (!ini.isEmpty())
            dir.write("brackwen.ini", ini);
        CurrentDirGuard inDir(dir.path());
        contexts.push_back(std::make_unique<EditorContext>(std::make_unique<FakePrompts>(log)));
        return std::make_unique<TForm1>(*contexts.back());
    }
    template <typename T>
    static T *child(const TForm1 &form, const char *name)
    {
        T *widget = form.findChild<T *>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QStringList items(const QComboBox *box)
    {
        QStringList result;
        for (int i = 0; i < box->count(); ++i)
            result << box->itemText(i);
        return result;
    }

    TempDir dir;
    PromptLog log;
    std::vector<std::unique_ptr<EditorContext>> contexts;  // each outlives its form
};

TEST_F(MainWindow, StartsWithoutSettingsFile)
{
    const auto form = start();
    EXPECT_EQ(form->windowTitle(), "Brackwen");
    const std::pair<const char *, const char *> captions[] = {
        {"Bopen", "Open Map"},   {"Bsave", "Save Map"},      {"Bundo", "Undo"},
        {"Bobstacles", "Obstacles"}, {"Bcopycells", "Copy Cells"}, {"Bpastecells", "Paste Cells"}};
    for (const auto &[name, caption] : captions)
        EXPECT_EQ(child<QPushButton>(*form, name)->text(), caption) << name;
    EXPECT_EQ(child<QGroupBox>(*form, "GB")->title(), "RMC-terrnums");

    const auto *tertype = child<QComboBox>(*form, "CBtertype");
    ASSERT_EQ(tertype->count(), 11);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(tertype->itemText(i).isEmpty());
    EXPECT_EQ(tertype->itemText(10), "Not change");
    EXPECT_EQ(child<QComboBox>(*form, "CBobstter")->count(), 11);
    EXPECT_FALSE(child<DrawGrid>(*form, "DG")->isVisibleTo(form.get()));
    EXPECT_EQ(child<QLabel>(*form, "Linfo")->text(), QString(21, u' '));
}

TEST_F(MainWindow, ListsHoldTheirItemsAndInitialIndexes)
{
    const auto form = start(englishIni);
    const struct {
        const char *name;
        int count;
        int index;
        const char *first;
        const char *last;
    } lists[] = {
        {"CBlevel", 2, 0, "Ground", "Subterranean"},
        {"CBbrushx", 37, 0, "1", "fill"},
        {"CBbrushy", 37, 0, "1", "fill"},
        {"CBterconf", 0, -1, nullptr, nullptr},
        {"CBtertype", 11, 0, "Dirt", "Not change"},
        {"CBrivtype", 10, 9, "NoRiver", "Not change"},
        {"CBroadtype", 8, 7, "NoRoad", "Not change"},
        {"CBrivconf", 14, 13, "0", "n/c"},
        {"CBroadconf", 18, 17, "0", "n/c"},
        {"CBmirror", 3, 2, "Set Mirror", "Not change"},
        {"CBmapsize", 0, -1, nullptr, nullptr},
        {"CBobstter", 11, 10, "Dirt", "Not change"},
        {"CBobstx", 144, 0, "0", "143"},
        {"CBobsty", 144, 0, "0", "143"},
    };
    for (const auto &list : lists) {
        const auto *box = child<QComboBox>(*form, list.name);
        EXPECT_EQ(box->count(), list.count) << list.name;
        EXPECT_EQ(box->currentIndex(), list.index) << list.name;
        EXPECT_FALSE(box->isEditable()) << list.name;
        if (list.first) {
            EXPECT_EQ(box->itemText(0), list.first) << list.name;
            EXPECT_EQ(box->itemText(box->count() - 1), list.last) << list.name;
        }
    }
    const QStringList battlefields = items(child<QComboBox>(*form, "CBobstter"));
    EXPECT_EQ(battlefields.at(8), "Water");
    EXPECT_EQ(battlefields.at(9), "Shore");
    EXPECT_EQ(child<QComboBox>(*form, "CBtertype")->itemText(9), "Rock");
    EXPECT_EQ(child<QComboBox>(*form, "CBtertype")->maxVisibleItems(), 11);
    EXPECT_EQ(child<QComboBox>(*form, "CBobstter")->maxVisibleItems(), 11);
    EXPECT_EQ(child<QComboBox>(*form, "CBobstx")->toolTip(), "Obstacles X");
    EXPECT_EQ(child<QComboBox>(*form, "CBobsty")->toolTip(), "Obstacles Y");
    EXPECT_EQ(child<QComboBox>(*form, "CBmapsize")->toolTip(), "Map size");
    const auto *level = child<QComboBox>(*form, "CBlevel");
    for (int row = 0; row < level->count(); ++row)
        EXPECT_EQ(level->view()->sizeHintForRow(row), 16) << "level item " << row;

    const auto *mirror = child<QListWidget>(*form, "LBmirror");
    ASSERT_EQ(mirror->count(), 6);
    EXPECT_EQ(mirror->item(0)->text(), "Terrain vert");
    EXPECT_EQ(mirror->item(5)->text(), "Road horz");
    EXPECT_TRUE(mirror->selectedItems().isEmpty());
    EXPECT_EQ(mirror->selectionMode(), QAbstractItemView::MultiSelection);
    EXPECT_EQ(contexts.back()->mapDialogFilter(), "Valdris map(*.vdm, *.vdw)|*.vdm;*.vdw");
    EXPECT_EQ(qtNameFilters(contexts.back()->mapDialogFilter()), "Valdris map(*.vdm, *.vdw) (*.vdm *.vdw)");
    EXPECT_EQ(qtNameFilters("A|*.a|B|*.b;*.c"), "A (*.a);;B (*.b *.c)");
}

TEST_F(MainWindow, ControlsSitWhereTheyWereDesigned)
{
    const auto form = start();
    EXPECT_EQ(child<QPushButton>(*form, "Bopen")->geometry(), QRect(2, 14, 86, 20));
    EXPECT_EQ(child<QComboBox>(*form, "CBobsty")->geometry(), QRect(46, 406, 42, 21));
    EXPECT_EQ(child<QLabel>(*form, "tileimage")->geometry(), QRect(52, 152, 32, 32));

    // The panel keeps to the right edge and the full height as the window grows.
    form->show();
    form->resize(800, 700);
    EXPECT_EQ(child<QGroupBox>(*form, "GB")->geometry(), QRect(710, 0, 90, 700));

    // Tab order as designed: Bopen, CBbrushy, LBmirror, ...
    EXPECT_EQ(child<QWidget>(*form, "Bopen")->nextInFocusChain()->objectName(), "CBbrushy");
    EXPECT_EQ(child<QWidget>(*form, "CBbrushx")->nextInFocusChain()->objectName(), "Bundo");
}

TEST_F(MainWindow, RussianTexts)
{
    const auto form = start("[Programm_options]\nlanguage=russian\n[russian]\nbopenmap="
                            + QString::fromUtf8("Открыть карту").toUtf8() + "\n");
    EXPECT_EQ(child<QPushButton>(*form, "Bopen")->text(), QString::fromUtf8("Открыть карту"));
    EXPECT_EQ(child<QPushButton>(*form, "Bsave")->text(), "Save Map");
}

// A map refused in a Russian session is told wholly in Russian: the message
// and the reason from below, worded by the sample's language section.
TEST_F(MainWindow, RefusedMapToldInRussian)
{
    QFile sample(QStringLiteral(BRACKWEN_SAMPLE_SETTINGS));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    QByteArray ini = sample.readAll();
    ini.replace("language=english", "language=russian");
    ini.replace("graphics=0", "graphics=2");
    const auto form = start(ini);
    const QString shortMap = dir.write("short.vdm", QByteArray(10, 'x'));
    static_cast<FakePrompts &>(contexts.back()->prompts()).openAnswer = shortMap;
    child<QPushButton>(*form, "Bopen")->click();
    ASSERT_EQ(log.errors.size(), 1);
    EXPECT_EQ(log.errors.first(),
              QString::fromUtf8("Не удалось открыть %1: данные карты короче 1000 байт").arg(QDir::toNativeSeparators(shortMap)));
}

// Tile pictures that cannot be loaded are told in the session's language, the
// reason from the sprite loader too; English says what it always said.
TEST_F(MainWindow, SpriteFailureToldInTheLanguage)
{
    LodWriter archive;
    for (const TileSpriteName &name : TileSpriteNames)
        if (QByteArray(name.name) != "icyrvr")
            archive.add(QByteArray(name.name) + ".def", fixtureSpriteFile(name));
    const QString lod = dir.write("game/data/vdsprite.lod", archive.write());
    QFile sample(QStringLiteral(BRACKWEN_SAMPLE_SETTINGS));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray ini =
        sample.readAll().replace("valdris_path=game", "valdris_path=" + dir.filePath("game").toUtf8());
    const struct {
        const char *language;
        const char *told;
    } cases[] = {
        {"english",
         "The tile pictures could not be loaded: %1: no entry named icyrvr.def; the map is drawn in plain colours"},
        {"russian", "Не удалось загрузить картинки клеток: файл %1: нет элемента с именем icyrvr.def; карта рисуется "
                    "простыми цветами"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.language);
        log.errors.clear();
        const auto form = start(QByteArray(ini).replace("language=english", QByteArray("language=") + c.language));
        child<QPushButton>(*form, "Bopen")->click();
        ASSERT_EQ(log.errors.size(), 1);
        EXPECT_EQ(log.errors.first(), QString::fromUtf8(c.told).arg(lod));
    }
}

TEST_F(MainWindow, GridFitsBesideOrWithoutThePanel)
{
    const auto form = start();
    auto *grid = child<DrawGrid>(*form, "DG");
    auto *panel = child<QGroupBox>(*form, "GB");
    form->resize(700, 600);

    // A small map fits: the grid takes the client area beside the panel.
    grid->setDimensions(10, 10);
    form->layoutGrid();
    EXPECT_EQ(grid->size(), QSize(610, 600));

    panel->hide();
    form->layoutGrid();
    EXPECT_EQ(grid->size(), QSize(700, 600));
    panel->show();

    // A large map: whole cells only, plus the scroll bar's own width.
    const int bar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    grid->setDimensions(144, 144);
    form->layoutGrid();
    EXPECT_EQ(grid->width(), (610 - bar) / 32 * 32 + bar);
    EXPECT_EQ(grid->height(), (600 - bar) / 32 * 32 + bar);
    EXPECT_EQ(grid->visibleColCount(), (610 - bar) / 32);
    EXPECT_EQ(grid->visibleRowCount(), (600 - bar) / 32);

    // Only one axis scrolls: that axis is cut to whole cells, the other keeps its size.
    grid->setDimensions(100, 5);
    form->layoutGrid();
    EXPECT_EQ(grid->height(), 600);
    EXPECT_EQ(grid->width(), 610 / 32 * 32);
}

}  // namespace
