// Settings and interface texts from "brackwen.ini", and the INI integer forms.
#include "base/IniFile.h"
#include "base/Platform.h"
#include "session/Settings.h"

#include "TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

SettingsAndTexts loadFrom(const QByteArray &ini)
{
    TempDir dir;
    return loadSettingsAndTexts(dir.write("brackwen.ini", ini));
}

TEST(Settings, NoFileKeepsStartValuesAndBuiltInTexts)
{
    TempDir dir;
    const SettingsAndTexts loaded = loadSettingsAndTexts(dir.filePath("brackwen.ini"));
    EXPECT_EQ(loaded.settings.graphics, 0);
    EXPECT_EQ(loaded.settings.use_nagscreen, 0);
    EXPECT_EQ(loaded.settings.use_showobst, 0);
    EXPECT_EQ(loaded.settings.use_ramobst, 0);
    EXPECT_TRUE(loaded.settings.valdris_path.isEmpty());
    EXPECT_EQ(loaded.texts.bopenmap, "Open Map");
    EXPECT_EQ(loaded.texts.maperr, "Map Error !");
    for (const QString &name : loaded.texts.terrain)
        EXPECT_TRUE(name.isEmpty());
}

TEST(Settings, EmptyOptionsSectionGivesDefaults)
{
    const Settings settings = loadFrom("[Programm_options]\n").settings;
    EXPECT_EQ(settings.graphics, 2);
    EXPECT_EQ(settings.use_nagscreen, 1);
    EXPECT_EQ(settings.use_showobst, 1);
    EXPECT_EQ(settings.use_ramobst, 1);
}

TEST(Settings, FileWithoutOptionsSectionKeepsStartValues)
{
    const Settings settings = loadFrom("[other]\ngraphics=1\n").settings;
    EXPECT_EQ(settings.graphics, 0);
    EXPECT_EQ(settings.use_nagscreen, 0);
}

struct IntegerCase {
    const char *value;
    int graphics;  // 2 (the default) when the value counts as missing
};

class SettingsInteger : public testing::TestWithParam<IntegerCase> {};

TEST_P(SettingsInteger, NotWholeNumbersCountAsMissing)
{
    const QByteArray ini = QByteArray("[Programm_options]\ngraphics=") + GetParam().value + "\n";
    EXPECT_EQ(loadFrom(ini).settings.graphics, GetParam().graphics) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsInteger,
                         testing::Values(IntegerCase{"1", 1}, IntegerCase{"0", 0}, IntegerCase{" 1 ", 1},
                                         IntegerCase{"1.5", 2}, IntegerCase{"one", 2}, IntegerCase{"", 2},
                                         IntegerCase{"$1", 1}, IntegerCase{"0x0", 0}, IntegerCase{"-3", -3},
                                         IntegerCase{"99999999999", 2}));

TEST(Settings, NamesMatchWithoutRegardToLetterCaseOrBlanks)
{
    const SettingsAndTexts loaded = loadFrom("[ PROGRAMM_OPTIONS ]\nLANGUAGE=English\nGraphics=1\n"
                                             "[english]\nBOPENMAP=Open it\nTerrain2=Grass\n");
    EXPECT_EQ(loaded.settings.graphics, 1);
    EXPECT_EQ(loaded.texts.bopenmap, "Open it");
    EXPECT_EQ(loaded.texts.terrain[2], "Grass");
}

TEST(Settings, LanguageSectionFallsBackKeyByKey)
{
    const InterfaceTexts texts = loadFrom("[Programm_options]\nlanguage=deutsch\n"
                                          "[deutsch]\nbopenmap=Karte öffnen\nterrain0=Erde\n")
                                     .texts;
    EXPECT_EQ(texts.bopenmap, QString::fromUtf8("Karte öffnen"));
    EXPECT_EQ(texts.bundo, "Undo");
    EXPECT_EQ(texts.terrain[0], "Erde");
    EXPECT_EQ(texts.terrain[3], "terrain3");
}

TEST(Settings, MissingLanguageSectionShowsBuiltInTexts)
{
    for (const char *ini : {"[Programm_options]\nlanguage=klingon\n", "[Programm_options]\n"}) {
        const InterfaceTexts texts = loadFrom(ini).texts;
        EXPECT_EQ(texts.bopenmap, "Open Map") << ini;
        EXPECT_TRUE(texts.terrain[0].isEmpty()) << ini;
    }
}

TEST(Settings, ValuesKeepSemicolonsAndTheFirstOfTwoKeys)
{
    const InterfaceTexts texts = loadFrom("[Programm_options]\nlanguage=english\n"
                                          "[english]\ntitle=Map; editor\ntitle=second\n")
                                     .texts;
    EXPECT_EQ(texts.title, "Map; editor");
}

TEST(Settings, GameFolderGetsATrailingSeparator)
{
    const QString sep = platform::PathSeparator;
    const struct {
        QString given, expected;
    } cases[] = {
        {"", ""},
        {"D:", "D:"},
        {"C:\\", "C:\\"},
        {"/opt/game/", "/opt/game/"},
        {"/opt/game", "/opt/game" + sep},
        {"game", "game" + sep},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(withTrailingSeparator(c.given), c.expected) << qPrintable(c.given);
        const QByteArray ini = "[Programm_options]\nvaldris_path=" + c.given.toUtf8() + "\n";
        EXPECT_EQ(loadFrom(ini).settings.valdris_path, c.expected) << qPrintable(c.given);
    }
}

// A faulty file is told, a sentence a fault, with what is used instead; a
// sound one, or none, tells nothing.
TEST(Settings, FaultsAreToldWithWhatIsUsedInstead)
{
    const struct {
        const char *name;
        QByteArray ini;
        const char *told;  // empty: nothing to tell
    } cases[] = {
        {"sound", "[Programm_options]\ngraphics=2\nlanguage=english\n[english]\n", ""},
        {"garbage", QByteArray("\x01\x02 not a settings file \xff"), "there is no [Programm_options] section"},
        {"language without a section", "[Programm_options]\ngraphics=2\nlanguage=klingon\n", "no [klingon] section"},
        {"graphics not a number", "[Programm_options]\ngraphics=abc\n", "graphics=abc is not a number; 2 is used"},
        {"missing game folder", "[Programm_options]\ngraphics=0\nvaldris_path=/no/such/folder\n",
         "does not exist; the \"defs\" folder is used"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList problems = loadFrom(c.ini).problems;
        if (QByteArray(c.told).isEmpty()) {
            EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join("; "));
            continue;
        }
        ASSERT_EQ(problems.size(), 1) << qPrintable(problems.join("; "));
        EXPECT_TRUE(problems.first().contains(QString::fromUtf8(c.told))) << qPrintable(problems.first());
    }
    TempDir dir;
    QDir(dir.path()).mkdir("brackwen.ini");
    EXPECT_EQ(loadSettingsAndTexts(dir.filePath("brackwen.ini")).problems,
              QStringList{"the file cannot be read; the built-in settings are used"});
}

TEST(IniInteger, Forms)
{
    const struct {
        const char *text;
        std::optional<int> value;
    } cases[] = {
        {"17", 17},        {"0x23", 35},  {"0X10", 16},   {"$1F", 31},      {"-5", -5},
        {"+7", 7},         {"-0x10", -16}, {"0xFFFFFFFF", -1}, {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int>::min()}, {"2147483648", std::nullopt},
        {"1.5", std::nullopt}, {"", std::nullopt}, {"abc", std::nullopt}, {"0x", std::nullopt},
        {"$", std::nullopt}, {"12a", std::nullopt}, {"0x1G", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseIniInteger(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(ScrollAllowance, FromRegistryText)
{
    EXPECT_EQ(platform::scrollAllowanceFromRegistryText(QString("-255")), 17);
    EXPECT_EQ(platform::scrollAllowanceFromRegistryText(QString("-300")), 20);
    EXPECT_EQ(platform::scrollAllowanceFromRegistryText(QString("-1234567")), 82);  // first five characters
    EXPECT_EQ(platform::scrollAllowanceFromRegistryText(QString("wide")), 15);
    EXPECT_EQ(platform::scrollAllowanceFromRegistryText(std::nullopt), 15);
}

// Every interface text is in both languages of the sample settings file, so
// no word of the editor falls back to English for a Russian user.
TEST(Settings, SampleFileHasEveryTextInEveryLanguage)
{
    const std::optional<IniFile> ini = IniFile::load(QStringLiteral(BRACKWEN_SAMPLE_SETTINGS));
    ASSERT_TRUE(ini.has_value());
    for (const char *language : {"english", "russian"}) {
        for (const InterfaceTexts::Entry &entry : InterfaceTexts::entries())
            EXPECT_TRUE(ini->value(language, entry.key).has_value()) << language << ": " << entry.key;
        for (int type = 0; type < 10; ++type)
            EXPECT_TRUE(ini->value(language, QStringLiteral("terrain%1").arg(type)).has_value()) << language;
    }
}

}  // namespace
