// Tests of reading the brush selectors and of the terrain configuration list refill.
#include "edit/BrushSettings.h"
#include "edit/PreparedBrush.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One item of the river or road type list and what it sets.
struct TypeItem {
    int index;
    bool paint;
    bool onlyExisting;
    int type;
};

// Both lists follow one rule: type (index + 1) div 2, "Any>" on odd indexes,
// the last item leaves the part alone.
TEST(BrushSettings, RiverAndRoadItemsFollowTheirIndex)
{
    const struct {
        int BrushSelectors::*list;
        bool BrushSettings::*paint;
        bool BrushSettings::*onlyExisting;
        std::uint8_t BrushSettings::*type;
        std::vector<TypeItem> items;
    } lists[] = {
        {&BrushSelectors::CBrivtype, &BrushSettings::paintRiver, &BrushSettings::riverOnlyExisting,
         &BrushSettings::riverType,
         {{0, true, false, 0}, {1, true, true, 1}, {2, true, false, 1}, {3, true, true, 2}, {4, true, false, 2},
          {5, true, true, 3}, {6, true, false, 3}, {7, true, true, 4}, {8, true, false, 4}, {9, false, true, 5}}},
        {&BrushSelectors::CBroadtype, &BrushSettings::paintRoad, &BrushSettings::roadOnlyExisting,
         &BrushSettings::roadType,
         {{0, true, false, 0}, {1, true, true, 1}, {2, true, false, 1}, {3, true, true, 2}, {4, true, false, 2},
          {5, true, true, 3}, {6, true, false, 3}, {7, false, true, 4}}},
    };
    for (const auto &list : lists) {
        for (const TypeItem &item : list.items) {
            BrushSelectors selectors;
            selectors.*list.list = item.index;
            const BrushSettings settings = BrushSettings::fromSelectors(selectors, {});
            SCOPED_TRACE(item.index);
            EXPECT_EQ(settings.*list.paint, item.paint);
            EXPECT_EQ(settings.*list.onlyExisting, item.onlyExisting);
            EXPECT_EQ(settings.*list.type, item.type);
        }
    }
}

TEST(BrushSettings, TerrainChoiceAndItsConfiguration)
{
    BrushSelectors selectors;
    selectors.CBtertype = 1;  // highest configuration 23
    selectors.CBterconf = 23;
    BrushSettings settings = BrushSettings::fromSelectors(selectors, {});
    EXPECT_TRUE(settings.paintTerrain);
    EXPECT_EQ(settings.terrainType, 1);
    EXPECT_EQ(settings.terrainConfig, 23);
    EXPECT_FALSE(settings.keepTerrainConfig);

    selectors.CBterconf = 24;  // the "n/c" item
    EXPECT_TRUE(BrushSettings::fromSelectors(selectors, {}).keepTerrainConfig);

    selectors.CBtertype = 10;  // "not change": its list runs to 78
    selectors.CBterconf = 45;
    settings = BrushSettings::fromSelectors(selectors, {});
    EXPECT_FALSE(settings.paintTerrain);
    EXPECT_EQ(settings.terrainConfig, 45);
    EXPECT_FALSE(settings.keepTerrainConfig);
}

TEST(BrushSettings, UnselectedOrOutOfRangeIndexesMeanNotChange)
{
    BrushSelectors selectors;
    selectors.CBtertype = -1;
    selectors.CBterconf = -1;  // the list is empty until a map is opened
    selectors.CBrivtype = 12;
    selectors.CBroadconf = -1;
    selectors.CBmirror = 5;
    const BrushSettings settings = BrushSettings::fromSelectors(selectors, {});
    EXPECT_FALSE(settings.paintTerrain);
    EXPECT_TRUE(settings.keepTerrainConfig);
    EXPECT_FALSE(settings.paintRiver);
    EXPECT_EQ(settings.roadConfig, 17);
    EXPECT_FALSE(settings.mirrorApply);
}

TEST(BrushSettings, MirrorModes)
{
    BrushSelectors selectors;
    selectors.LBmirror = {true, false, false, false, false, true};
    const struct {
        int mode;
        bool apply;
        bool setOnly;
    } modes[] = {{0, true, false}, {1, true, true}, {2, false, false}};
    for (const auto &mode : modes) {
        selectors.CBmirror = mode.mode;
        const BrushSettings settings = BrushSettings::fromSelectors(selectors, {});
        SCOPED_TRACE(mode.mode);
        EXPECT_EQ(settings.mirrorApply, mode.apply);
        EXPECT_EQ(settings.mirrorSetOnly, mode.setOnly);
        EXPECT_EQ(settings.mirrorBits, selectors.LBmirror);
    }
}

TEST(BrushSettings, FillKeepsThePreviousBrushSize)
{
    BrushSelectors selectors;
    selectors.CBbrushx = 4;
    selectors.CBbrushy = 2;
    const BrushSettings sized = BrushSettings::fromSelectors(selectors, {});
    EXPECT_EQ(sized.brushWidth, 5);
    EXPECT_EQ(sized.brushHeight, 3);
    EXPECT_FALSE(sized.fillX || sized.fillY);

    selectors.CBbrushx = BrushSelectors::BrushFill;
    const BrushSettings widthFill = BrushSettings::fromSelectors(selectors, sized);
    EXPECT_TRUE(widthFill.fillX);
    EXPECT_FALSE(widthFill.fillY);
    EXPECT_EQ(widthFill.brushWidth, 5);
    EXPECT_EQ(widthFill.brushHeight, 3);

    selectors.CBbrushx = 0;
    selectors.CBbrushy = BrushSelectors::BrushFill;
    const BrushSettings heightFill = BrushSettings::fromSelectors(selectors, widthFill);
    EXPECT_FALSE(heightFill.fillX);
    EXPECT_TRUE(heightFill.fillY);
    EXPECT_EQ(heightFill.brushWidth, 1);
    EXPECT_EQ(heightFill.brushHeight, 3);
}

TEST(TerrainConfigList, RefillKeepsThePreviousConfigurationWhenTheNewListHasIt)
{
    const struct {
        int type;
        std::uint8_t previous;
        TerrainConfigList expected;
    } cases[] = {
        {1, 60, {25, 0}},   // type 1 ends at 23
        {2, 20, {80, 20}},  // type 2 ends at 78
        {0, 46, {47, 0}},   // the "n/c" index of type 0 is past the new list's numbers
        {2, 46, {80, 46}},  // ... and a plain number in a longer list
        {10, 79, {80, 0}},  // "not change" lists 0..78
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(terrainConfigListFor(c.type, c.previous), c.expected);
    }
}

// The picker's selectors make a brush that paints the picked cell as it is,
// over any cell, keeping the brush size.
TEST(SelectorsForCell, PaintTheCellAsItIs)
{
    const TerrainCell cells[] = {
        {2, 14, 1, 5, 3, 16, 0b101001},   // grass with a river and a road, mirrored
        {0, 45, 0, 0, 0, 0, 0},           // dirt's last picture, nothing else
        {8, 32, 4, 12, 1, 0, 0b111111},   // water, lava river, every mirror bit
        {9, 47, 2, 0, 2, 7, 0b010000},
    };
    const TerrainCell other{5, 3, 2, 7, 1, 9, 0b11000110};
    BrushSelectors current;
    current.CBbrushx = 4;
    current.CBbrushy = 6;
    for (const TerrainCell &cell : cells) {
        SCOPED_TRACE(int(cell.tertype));
        const BrushSelectors selectors = selectorsForCell(cell, current);
        EXPECT_EQ(selectors.CBbrushx, 4);
        EXPECT_EQ(selectors.CBbrushy, 6);
        const BrushSettings brush = BrushSettings::fromSelectors(selectors, {});
        TerrainCell expected = cell;
        expected.mirror = (cell.mirror & 0x3F) | (other.mirror & 0xC0);  // bits 6 and 7 are never painted
        EXPECT_EQ(PreparedBrush(brush).apply(other, false), expected);
    }
}

}  // namespace
