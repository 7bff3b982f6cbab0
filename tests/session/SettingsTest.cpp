// Settings and interface texts from "brackwen.ini", and the INI integer forms.
#include "base/IniFile.h"
#include "base/Platform.h"
#include "gfx/SpriteFixtures.h"
#include "gfx/TileSprites.h"
#include "map/MapReasons.h"
#include "session/Settings.h"
#include "writers/LodWriter.h"

#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSet>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

QByteArray sampleSettings()
{
    QFile file(QStringLiteral(BRACKWEN_SAMPLE_SETTINGS));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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

// A language is its section alone: a made-up one gives the about prompt, the
// locale of dates and counts and the rule of plural forms by its keys.
TEST(Settings, MadeUpLanguageNeedsNothingButItsSection)
{
    const InterfaceTexts texts = loadFrom("[Programm_options]\nlanguage=lingua\n"
                                          "[lingua]\ntitle=Mapa\naboutauthor=%1 %2 de %3\naboutvisit=Visita %1?\n"
                                          "locale=fr_FR\nplural=onezero-other\n"
                                          "msgtransformed=%n case changée|%n cases changées\n")
                                     .texts;
    EXPECT_EQ(aboutText(texts, "1.2", "Ostrel", "https://example.org/"), "Mapa 1.2 de Ostrel\rVisita https://example.org/?");
    EXPECT_EQ(texts.dateLocale().name(), "fr_FR");
    EXPECT_EQ(texts.pluralRule(), PluralRule::OneZeroOther);
    EXPECT_EQ(texts.counted(texts.msgtransformed, 0), QString::fromUtf8("0 case changée"));
    EXPECT_EQ(texts.counted(texts.msgtransformed, 2), QString::fromUtf8("2 cases changées"));
    EXPECT_EQ(texts.counted(texts.msgtransformed, 1234567),
              QLocale(QStringLiteral("fr_FR")).toString(1234567) + QString::fromUtf8(" cases changées"));
}

// Without a language section: the English about prompt, one-other, counts
// without grouped digits and dates in the system's way.
TEST(Settings, BuiltInLanguageIsEnglish)
{
    const InterfaceTexts texts;
    EXPECT_EQ(aboutText(texts, "0.1.3.13", "Ostrel", "https://example.org/"),
              "Brackwen v0.1.3.13, Created by Ostrel\rWish to visit https://example.org/ and get info or updates? ");
    EXPECT_EQ(texts.pluralRule(), PluralRule::OneOther);
    EXPECT_EQ(texts.counted(texts.msgtransformed, 1), "1 cell changed");
    EXPECT_EQ(texts.counted(texts.msgtransformed, 1000001), "1000001 cells changed");
    EXPECT_EQ(texts.dateLocale(), QLocale());
}

// The faults of the file are told in the language's words; a rule of plural
// forms that does not exist is one of them, and one-other stands in for it.
TEST(Settings, FaultsAreToldInTheLanguage)
{
    const SettingsAndTexts loaded = loadFrom("[Programm_options]\nlanguage=lingua\ngraphics=abc\n"
                                             "[lingua]\nsetnotnumber=%1 : %2 ? %3\nplural=dual\n");
    EXPECT_EQ(loaded.problems, (QStringList{"graphics : abc ? 2", "plural=dual is no rule of plural forms; one-other is used"}));
    EXPECT_EQ(loaded.texts.counted(loaded.texts.msgtransformed, 1), "1 cell changed");
}

// The sample's Russian section counts with three forms and grouped digits.
TEST(Settings, SampleRussianCountsInItsForms)
{
    QByteArray ini = sampleSettings();
    ini.replace("language=english", "language=russian");
    const InterfaceTexts texts = loadFrom(ini).texts;
    const QChar group = QLocale(QStringLiteral("ru_RU")).groupSeparator().front();
    const struct {
        std::uint64_t count;
        const char *text;
    } cases[] = {
        {1, "Изменена 1 клетка"},     {2, "Изменены 2 клетки"},    {5, "Изменено 5 клеток"},
        {11, "Изменено 11 клеток"},   {21, "Изменена 21 клетка"},  {112, "Изменено 112 клеток"},
        {1000001, "Изменена 1#000#001 клетка"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(texts.counted(texts.msgtransformed, c.count), QString::fromUtf8(c.text).replace(u'#', group)) << c.count;
    EXPECT_EQ(texts.dateLocale().language(), QLocale::Russian);
    EXPECT_TRUE(aboutText(texts, "1", "A", "B").startsWith(QString::fromUtf8("Brackwen v1, Написал A\rЖелаете посетить B")));
}

// A reason is worded by its key in the language section, nested reasons
// too; a kind the language does not word, or a plain sentence, stays as it is.
TEST(Settings, ReasonsAreWordedByTheLanguage)
{
    const InterfaceTexts texts = loadFrom("[Programm_options]\nlanguage=lingua\n[lingua]\n"
                                          "reason.map.version=version %1 inconnue\n"
                                          "Reason.Map.Open=ouverture impossible : %1\n")
                                     .texts;
    EXPECT_EQ(texts.reason(Reason(reasons::MapVersion, {7})), "version 7 inconnue");
    EXPECT_EQ(texts.reason(Reason(reasons::MapCannotOpen, {Reason(reasons::MapVersion, {8})})),
              "ouverture impossible : version 8 inconnue");
    EXPECT_EQ(texts.reason(Reason(reasons::MapCannotOpen, {Reason::plain("Accès refusé")})),
              QString::fromUtf8("ouverture impossible : Accès refusé"));
    EXPECT_EQ(texts.reason(Reason(reasons::MapNoMarker)), "terrain marker not found");
    EXPECT_EQ(texts.reason(Reason(reasons::MapCannotRead, {Reason(reasons::MapVersion, {9})})),
              "cannot read the file: version 9 inconnue");
    EXPECT_EQ(texts.reason(Reason()), QString());
    EXPECT_EQ(InterfaceTexts().reason(Reason(reasons::MapVersion, {7})), "unknown map version 7");
}

// Every reason of the layers below has a Russian wording in the sample with
// the placeholders of its English one; the keys are unique.
TEST(Settings, SampleWordsEveryReasonInRussian)
{
    const std::optional<IniFile> ini = IniFile::load(QStringLiteral(BRACKWEN_SAMPLE_SETTINGS));
    ASSERT_TRUE(ini.has_value());
    QSet<QString> keys;
    for (const ReasonKind &kind : everyReasonKind()) {
        const QString key = QString::fromLatin1(kind.key);
        EXPECT_FALSE(keys.contains(key)) << kind.key << " twice";
        keys.insert(key);
        const std::optional<QString> russian = ini->value(QStringLiteral("russian"), QStringLiteral("reason.") + key);
        ASSERT_TRUE(russian.has_value()) << kind.key;
        EXPECT_EQ(placeholdersOf(*russian), placeholdersOf(QString::fromUtf8(kind.english))) << kind.key;
        // A wording of words is translated; one of placeholders and signs alone may stay.
        const QString english = QString::fromUtf8(kind.english);
        if (std::any_of(english.begin(), english.end(), [](QChar c) { return c.isLetter(); })) {
            EXPECT_NE(*russian, english) << kind.key;
        }
    }
    // And no wording in the sample for a reason the program does not give.
    for (const QString &worded : ini->keysStartingWith(QStringLiteral("russian"), QStringLiteral("reason.")).keys())
        EXPECT_TRUE(keys.contains(worded.sliced(7))) << qPrintable(worded);
}

// A sprite archive that fails is told in Russian from the file to the fault,
// the file's and the entry's names as they are; in English it stays the line
// the command-line tool prints.
TEST(Settings, SampleWordsSpriteFailuresInRussian)
{
    QByteArray ini = sampleSettings();
    ini.replace("language=english", "language=russian");
    const InterfaceTexts russian = loadFrom(ini).texts;
    TempDir dir;
    LodWriter halved;
    for (const TileSpriteName &name : TileSpriteNames) {
        const QByteArray bytes = fixtureSpriteFile(name);
        halved.add(QByteArray(name.name) + ".def", QByteArray(name.name) == "grastl" ? bytes.first(100) : bytes);
    }
    const struct {
        QString archive;
        const char *english;
        const char *russian;
    } cases[] = {
        {dir.filePath("none.lod"), "@: cannot open the sprite archive: no such file",
         "файл @: не удаётся открыть архив картинок: нет такого файла"},
        {dir.write("ff.lod", QByteArray(12, '\xFF')),
         "@: cannot open the sprite archive: not a sprite archive: it claims -1 entries",
         "файл @: не удаётся открыть архив картинок: это не архив картинок: число элементов в нём — -1"},
        {dir.write("halved.lod", halved.write()), "@: entry grastl.def: Def file is invalid",
         "файл @: элемент grastl.def: файл def повреждён"},
    };
    for (const auto &c : cases) {
        TileSprites sprites;
        EXPECT_NE(sprites.loadFromArchive(c.archive), TileLoadResult::Finished);
        EXPECT_EQ(sprites.loadError(), QString::fromUtf8(c.english).replace(u'@', c.archive));
        EXPECT_EQ(russian.reason(sprites.loadWhy()), QString::fromUtf8(c.russian).replace(u'@', c.archive));
    }
}

// A text the editor counts with puts the count where "%n" stands: every
// language of the sample has it in those texts, in every form.
TEST(Settings, SampleCountsWhereTheBuiltInTextsCount)
{
    const std::optional<IniFile> ini = IniFile::load(QStringLiteral(BRACKWEN_SAMPLE_SETTINGS));
    ASSERT_TRUE(ini.has_value());
    for (const char *language : {"english", "russian"})
        for (const InterfaceTexts::Entry &entry : InterfaceTexts::entries())
            if (QByteArray(entry.builtIn).contains("%n"))
                for (const QString &form : ini->readString(language, entry.key, QString()).split(u'|'))
                    EXPECT_TRUE(form.contains("%n")) << language << ": " << entry.key;
}

}  // namespace
