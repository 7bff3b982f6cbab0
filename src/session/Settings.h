// The program's settings and the texts of its interface, read once at start-up
// from "brackwen.ini".
#pragma once

#include "base/Plural.h"
#include "base/Reason.h"
#include "obstacles/ObstacleOverlay.h"
#include "session/InterfaceTextList.h"

#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

struct Settings {
    // Start values: what a setting holds without the file or its options section.
    QString valdris_path;  // the game folder, ending in a separator when longer than 3 characters
    QString language;      // name of the section holding the interface texts
    int graphics = 0;      // 0 game archive, 1 "defs" folder, anything else plain colours
    static constexpr int PlainColours = 2;
    int use_nagscreen = 0;
    int use_showobst = 0;
    int use_ramobst = 0;
};

struct InterfaceTexts {
    // The texts of session/InterfaceTextList.h, a field each, named by its key.
#define BRACKWEN_TEXT_FIELD(key, english) QString key;
    BRACKWEN_INTERFACE_TEXTS(BRACKWEN_TEXT_FIELD)
#undef BRACKWEN_TEXT_FIELD
    // Names of terrain types 0..9 ("terrain0" .. "terrain9" in the language section).
    std::array<QString, 10> terrain;
    // The wordings of reasons: "reason.<key>" of the language section, by the
    // reason's key (letter case folded).
    QHash<QString, QString> reasonWordings;

    // Every text with its built-in English wording; terrain names empty.
    InterfaceTexts();

    // The form of a text holding plural forms ("%n cell|%n cells") that the
    // count takes by the language's rule, with the count in place of "%n",
    // written as the language's locale writes numbers.
    QString counted(const QString &forms, std::uint64_t count) const;
    // A reason in this language: each kind's wording (its own and its nested
    // reasons') from reasonWordings, or its English one where the language
    // has none.
    QString reason(const Reason &reason) const;
    // The rule named by plural; an unknown name counts as one-other.
    PluralRule pluralRule() const;
    // The locale that writes dates and times: the one named by locale, or
    // the system's when it names none.
    QLocale dateLocale() const;
    // The locale that writes counts and fractions: the one named by locale,
    // or else the plain C locale (no grouped digits, a decimal point), as the
    // system's might write them in another language's way.
    QLocale numberLocale() const;

    struct Entry {
        const char *key;
        QString InterfaceTexts::*text;
        const char *builtIn;
    };
    // The texts in the order of the language section's keys.
    static std::span<const Entry> entries();
};

struct SettingsAndTexts {
    Settings settings;
    InterfaceTexts texts;
    // What was wrong with the file and what is used instead, a sentence
    // each; empty when the file was read as it is (or there is none).
    QStringList problems;
};

inline constexpr const char *SettingsFileName = "brackwen.ini";
inline constexpr const char *OptionsSection = "Programm_options";

// Reads the settings file (relative to the current folder unless a path is
// given). Missing file, section or keys fall back to start values, defaults and
// built-in texts; nothing is reported.
SettingsAndTexts loadSettingsAndTexts(const QString &path = QString::fromLatin1(SettingsFileName));

// Every kind of reason the layers below the session give, from each layer's
// table: what a language words under "reason.<key>".
std::vector<ReasonKind> everyReasonKind();

// The text of the about prompt in the texts' language: the lines aboutauthor
// and aboutvisit, separated by a carriage return.
QString aboutText(const InterfaceTexts &texts, const char *version, const char *author, const char *webPage);

// The words of the obstacle window's caption.
ObstacleCaptionTexts obstacleCaptionTexts(const InterfaceTexts &texts);

// The separator rule of the game folder: a path longer than 3 characters gets a
// trailing separator unless it has one.
QString withTrailingSeparator(const QString &folder);
