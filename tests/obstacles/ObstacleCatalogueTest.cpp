// Tests of the obstacle catalogue: value and key rules, the lists both list
// sources read from a text (whole or in pieces), the on/off rule of loading, and when a change of
// the list file shows.
#include "obstacles/ObstacleCatalogue.h"

#include "obstacles/ObstacleSectionIndex.h"
#include "obstacles/ObstacleSectionSearch.h"
#include "writers/ObstacleCatalogueWriter.h"

#include "TempDir.h"

#include <QBuffer>
#include <QFile>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

using Hexes = ObstacleHexList;

struct ValueCase {
    const char *value;
    int hex;
};

TEST(ObstacleSectionTest, ValueGivesLowEightBitsOfItsInteger)
{
    const ValueCase cases[] = {
        {"17", 17},         {"0x23", 35},     {"0X23", 35},   {"$1F", 31},    {"$1f", 31},
        {"273", 17},        {"256", 0},       {"0", 0},       {"-1", 255},    {"-0xFF", 1},
        {"+5", 5},          {"-$10", 240},    {"0000000017", 17}, {"4294967313", 0}, {"0xFFFFFF11", 17},
        {"", 0},            {"abc", 0},       {"0x", 0},      {"$", 0},       {"1e3", 0},
        {"17 4", 0},        {"\xC2\xB9", 0},
    };
    for (const ValueCase &c : cases)
        EXPECT_EQ(ObstacleSection::hexValue(c.value), c.hex) << "value \"" << c.value << '"';
}

TEST(ObstacleSectionTest, OnlyKeysOneToTwentyEightWrittenPlainlyCount)
{
    const std::pair<const char *, int> cases[] = {{"1", 1}, {"9", 9}, {"10", 10}, {"28", 28}, {"29", 0},
                                                  {"0", 0}, {"01", 0}, {"+1", 0}, {"1a", 0}, {"", 0}};
    for (const auto &[key, number] : cases)
        EXPECT_EQ(ObstacleSection::keyNumber(key), number) << "key \"" << key << '"';
}

TEST(ObstacleSectionTest, SectionNamesRoundTripOnlyInTheirPlainForm)
{
    EXPECT_EQ(ObstacleSection::name(2, 17, 5), "2.17/5");
    EXPECT_EQ(ObstacleSection::name(9, 0, 143), "9.0/143");
    EXPECT_EQ(ObstacleSection::idOfName("255.255/255"), 0xFFFFFFu);
    EXPECT_EQ(ObstacleSection::idOfName("2.17/5"), 2u << 16 | 17u << 8 | 5u);
    for (const char *name : {"02.17/5", "2.017/5", "256.1/1", "2/17.5", "2.17/", "+2.17/5", "2.17/5x", ""})
        EXPECT_FALSE(ObstacleSection::idOfName(name)) << name;
}

struct ListCase {
    const char *name;
    const char *text;  // the lists asked for are those of section 2.17/5
    Hexes hexes;
};

// Every case is read by both list sources, which must agree.
class ObstacleListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(ObstacleListTest, BothSourcesReadTheSameList)
{
    const QByteArray text(GetParam().text);
    EXPECT_EQ(ObstacleSectionIndex::parse(text).hexes(2, 17, 5), GetParam().hexes) << "in memory";
    EXPECT_EQ(findHexesInText(text, 2, 17, 5), GetParam().hexes) << "searched";
    // Read from a device in pieces of a few bytes: lines and sections run
    // across pieces and lines outgrow them.
    for (const qsizetype pieceSize : {1, 5, 16}) {
        QBuffer device;
        device.setData(text);
        ASSERT_TRUE(device.open(QIODevice::ReadOnly));
        EXPECT_EQ(findHexesInDevice(device, 2, 17, 5, pieceSize), GetParam().hexes) << "pieces of " << pieceSize;
    }
}

QByteArray thirtyEntries()
{
    QByteArray text = "[2.17/5]\n";
    for (int key = 1; key <= 30; ++key)
        text += QByteArray::number(key) + '=' + QByteArray::number(key + 100) + '\n';
    return text;
}
const QByteArray ThirtyEntries = thirtyEntries();

Hexes firstTwentyEight()
{
    Hexes hexes;
    for (int key = 1; key <= 28; ++key)
        hexes.push_back(std::uint8_t(key + 100));
    return hexes;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ObstacleListTest,
    ::testing::Values(
        ListCase{"ZeroEndsTheList", "[2.17/5]\n1=17\n2=0x23\n3=0\n4=40\n", {17, 35}},
        ListCase{"LowBitsAndTwoFiftySixEnds", "[2.17/5]\n1=273\n2=256\n3=7\n", {17}},
        ListCase{"NotANumberEnds", "[2.17/5]\n1=5\n2=five\n3=7\n", {5}},
        ListCase{"MissingKeyEnds", "[2.17/5]\n1=4\n3=5\n", {4}},
        ListCase{"KeysInAnyOrder", "[2.17/5]\n3=6\n1=4\n2=5\n", {4, 5, 6}},
        ListCase{"MoreThanTwentyEightAreCut", ThirtyEntries.constData(), firstTwentyEight()},
        ListCase{"FirstValueOfAKeyWins", "[2.17/5]\n1=4\n1=9\n2=5\n", {4, 5}},
        ListCase{"RepeatedSectionAddsMissingKeys",
                 "[2.17/5]\n1=4\n[3.1/1]\n2=9\n[2.17/5]\n1=8\n2=6\n", {4, 6}},
        ListCase{"BlanksAndCrLf", "  [ 2.17/5 ] trailing\r\n\t1 = 17 \r\n2= $1F\r\n\r\n3\t=\t-0x01\r\n",
                 {17, 31, 255}},
        // Only '=' splits a line: "1:17" is no entry, "2:9=3" has the key "2:9", and
        // a ':' after the '=' belongs to the value.
        ListCase{"ColonIsNoDelimiter", "[2.17/5]\n1:17\n1=5\n2:9=3\n2=6\n3=7:8\n", {5, 6}},
        ListCase{"ColonLinesAloneGiveNoList", "[2.17/5]\n1:17\n2:18\n", {}},
        ListCase{"CommentsAndStrayLinesIgnored",
                 "[2.17/5]\n;3=1\n1=4\n#x\nno delimiter\n[open bracket only\n2=5\n", {4, 5}},
        ListCase{"ByteOrderMarkBeforeFirstHeader", "\xEF\xBB\xBF[2.17/5]\n1=9\n", {9}},
        ListCase{"EntriesBeforeAnyHeaderIgnored", "1=3\n[2.17/5]\n2=4\n", {}},
        ListCase{"OnlyTheWholeNameMatches",
                 "[12.17/5]\n1=1\n[2.17/55]\n1=2\n[02.17/5]\n1=3\nx=[2.17/5]\n;[2.17/5]\n[2.17/5]\n1=4\n", {4}},
        ListCase{"NextHeaderEndsTheSection", "[2.17/5]\n1=4\n[other]\n2=5\n", {4}},
        ListCase{"MissingSection", "[2.17/6]\n1=4\n", {}},
        ListCase{"HeaderAtEndOfText", "[2.17/5]", {}},
        ListCase{"EmptyText", "", {}}),
    [](const ::testing::TestParamInfo<ListCase> &info) { return std::string(info.param.name); });

// A device that gives more than the limit, as one without end would, is
// given up at the limit: with whole lines or inside one endless line.
TEST(ObstacleListTest, ReadingADeviceStopsAtTheLimit)
{
    const QByteArray text = obstaclewriter::sectionText(2, 17, 5, {17, 35, 186});
    const QByteArray endlessLine(256 * 1024, '0');
    struct Case {
        const char *name;
        QByteArray bytes;
        qint64 limit;
        bool read;
    };
    const Case cases[] = {
        {"within the limit", text, text.size(), true},
        {"one byte beyond", text, text.size() - 1, false},
        {"a line without end", text + endlessLine, 64 * 1024, false},
    };
    for (const Case &c : cases) {
        QByteArray bytes = c.bytes;
        QBuffer device(&bytes);
        ASSERT_TRUE(device.open(QIODevice::ReadOnly));
        const auto hexes = findHexesInDevice(device, 2, 17, 5, 1024, c.limit);
        EXPECT_EQ(hexes.has_value(), c.read) << c.name;
    }
}

TEST(ObstacleListTest, SampleSectionsReadBackAsWritten)
{
    QByteArray text;
    for (const auto &[battlefield, x, y] : {std::tuple{0, 0, 0}, {9, 143, 143}, {5, 17, 100}, {2, 17, 5}})
        text += obstaclewriter::sectionText(battlefield, x, y, obstaclewriter::sampleHexes(battlefield, x, y));
    const ObstacleSectionIndex index = ObstacleSectionIndex::parse(text);
    EXPECT_EQ(index.sectionCount(), 4u);
    for (const auto &[battlefield, x, y] : {std::tuple{0, 0, 0}, {9, 143, 143}, {5, 17, 100}, {2, 17, 5}}) {
        const Hexes expected = obstaclewriter::sampleHexes(battlefield, x, y);
        EXPECT_LE(expected.size(), std::size_t(MaxObstacleHexes));
        Hexes sorted = expected;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "hexes repeat";
        EXPECT_TRUE(sorted.empty() || (sorted.front() >= 1 && sorted.back() <= 186));
        EXPECT_EQ(index.hexes(battlefield, x, y), expected);
        EXPECT_EQ(findHexesInText(text, battlefield, x, y), expected);
    }
}

// A folder holding the catalogue files, made the current folder.
class CatalogueFolder {
public:
    CatalogueFolder() : m_guard(m_dir.path()) {}

    void writePicture(const QString &name = QStringLiteral("obstacle.bmp")) const
    {
        QImage picture(8, 6, QImage::Format_RGB888);
        picture.fill(Qt::darkGreen);
        ASSERT_TRUE(picture.save(m_dir.filePath(name), "BMP"));
    }
    QString writeList(const QByteArray &text, const QString &name = QStringLiteral("obstacle.ini")) const
    {
        return m_dir.write(name, text);
    }
    const TempDir &dir() const { return m_dir; }

private:
    TempDir m_dir;
    CurrentDirGuard m_guard;
};

// The options as the settings' use_showobst and use_ramobst give them.
ObstacleCatalogueOptions obstacleSettings(int showObstacles, int listsInMemory)
{
    return {showObstacles == 1, listsInMemory == 1};
}

struct LoadCase {
    const char *name;
    int showObstacles;
    int listsInMemory;
    bool picture;
    bool list;
    bool pictureReadable;
    bool on;
};

class ObstacleLoadTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(ObstacleLoadTest, OnOnlyWithTheSettingAndBothFiles)
{
    const LoadCase &c = GetParam();
    CatalogueFolder folder;
    if (c.picture && c.pictureReadable)
        folder.writePicture();
    if (c.picture && !c.pictureReadable)
        folder.dir().write(QStringLiteral("obstacle.bmp"), "BM not a picture");
    if (c.list)
        folder.writeList("[1.2/3]\n1=4\n");

    const ObstacleCatalogue catalogue = ObstacleCatalogue::load(obstacleSettings(c.showObstacles, c.listsInMemory));
    EXPECT_EQ(catalogue.isOn(), c.on);
    if (c.on) {
        EXPECT_EQ(catalogue.holdsListsInMemory(), c.listsInMemory == 1);
        EXPECT_EQ(catalogue.picture().size(), QSize(8, 6));
        EXPECT_EQ(catalogue.findObstacleHexes(1, 2, 3), Hexes({4}));
    } else {
        EXPECT_TRUE(catalogue.picture().isNull());
        EXPECT_EQ(catalogue.findObstacleHexes(1, 2, 3), Hexes());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ObstacleLoadTest,
    ::testing::Values(LoadCase{"InMemory", 1, 1, true, true, true, true},
                      LoadCase{"OnDemand", 1, 0, true, true, true, true},
                      LoadCase{"OnDemandAnyOtherValue", 1, 7, true, true, true, true},
                      LoadCase{"SettingOff", 0, 1, true, true, true, false},
                      LoadCase{"SettingNotOne", 2, 1, true, true, true, false},
                      LoadCase{"NoPicture", 1, 1, false, true, true, false},
                      LoadCase{"NoList", 1, 1, true, false, true, false},
                      LoadCase{"NoListOnDemand", 1, 0, true, false, true, false},
                      LoadCase{"UnreadablePicture", 1, 1, true, true, false, false}),
    [](const ::testing::TestParamInfo<LoadCase> &info) { return std::string(info.param.name); });

TEST(ObstacleLoadTest, FileNamesMatchWithoutRegardToCase)
{
    CatalogueFolder folder;
    folder.writePicture(QStringLiteral("Obstacle.BMP"));
    folder.writeList("[1.2/3]\n1=4\n", QStringLiteral("OBSTACLE.ini"));
    const ObstacleCatalogue catalogue = ObstacleCatalogue::load(obstacleSettings(1, 0));
    ASSERT_TRUE(catalogue.isOn());
    EXPECT_EQ(catalogue.findObstacleHexes(1, 2, 3), Hexes({4}));
}

TEST(ObstacleLoadTest, OnDemandListShowsChangesAndInMemoryListDoesNot)
{
    CatalogueFolder folder;
    folder.writePicture();
    folder.writeList("[1.2/3]\n1=4\n");
    const ObstacleCatalogue onDemand = ObstacleCatalogue::load(obstacleSettings(1, 0));
    const ObstacleCatalogue inMemory = ObstacleCatalogue::load(obstacleSettings(1, 1));
    ASSERT_TRUE(onDemand.isOn());
    ASSERT_TRUE(inMemory.isOn());

    folder.writeList("[1.2/3]\n1=5\n2=6\n");
    {
        // The file checked at start-up is the one read, wherever the current folder is now.
        TempDir elsewhere;
        const CurrentDirGuard moved(elsewhere.path());
        EXPECT_EQ(onDemand.findObstacleHexes(1, 2, 3), Hexes({5, 6}));
        EXPECT_EQ(inMemory.findObstacleHexes(1, 2, 3), Hexes({4}));
    }

    ASSERT_TRUE(QFile::remove(folder.dir().filePath(QStringLiteral("obstacle.ini"))));
    EXPECT_EQ(onDemand.findObstacleHexes(1, 2, 3), Hexes());
    EXPECT_EQ(inMemory.findObstacleHexes(1, 2, 3), Hexes({4}));
}

}  // namespace
