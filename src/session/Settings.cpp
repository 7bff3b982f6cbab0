// Reading "brackwen.ini": the options section and the language section.
#include "session/Settings.h"

#include "base/BaseReasons.h"
#include "base/IniFile.h"
#include "base/Platform.h"
#include "gfx/GfxReasons.h"
#include "journal/JournalReasons.h"
#include "map/MapReasons.h"
#include "rules/RulesReasons.h"

#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr InterfaceTexts::Entry textEntries[] = {
#define BRACKWEN_TEXT_ENTRY(key, english) {#key, &InterfaceTexts::key, english},
    BRACKWEN_INTERFACE_TEXTS(BRACKWEN_TEXT_ENTRY)
#undef BRACKWEN_TEXT_ENTRY
};

}  // namespace

InterfaceTexts::InterfaceTexts()
{
    for (const Entry &entry : textEntries)
        this->*entry.text = QString::fromUtf8(entry.builtIn);
}

std::span<const InterfaceTexts::Entry> InterfaceTexts::entries()
{
    return textEntries;
}

QString InterfaceTexts::reason(const Reason &reason) const
{
    return reason.worded([this](const ReasonKind &kind) {
        return reasonWordings.value(QString::fromLatin1(kind.key).toCaseFolded(), QString::fromUtf8(kind.english));
    });
}

PluralRule InterfaceTexts::pluralRule() const
{
    return pluralRuleNamed(plural).value_or(PluralRule::OneOther);
}

QLocale InterfaceTexts::dateLocale() const
{
    return locale.trimmed().isEmpty() ? QLocale() : QLocale(locale.trimmed());
}

QLocale InterfaceTexts::numberLocale() const
{
    return locale.trimmed().isEmpty() ? QLocale::c() : QLocale(locale.trimmed());
}

QString InterfaceTexts::counted(const QString &forms, std::uint64_t count) const
{
    return pluralForm(forms, count, pluralRule()).replace(QLatin1String("%n"), numberLocale().toString(qulonglong(count)));
}

std::vector<ReasonKind> everyReasonKind()
{
    std::vector<ReasonKind> kinds;
    for (const std::span<const ReasonKind> table :
         {baseReasons(), mapReasons(), rulesReasons(), gfxReasons(), journalReasons()})
        kinds.insert(kinds.end(), table.begin(), table.end());
    return kinds;
}

QString aboutText(const InterfaceTexts &texts, const char *version, const char *author, const char *webPage)
{
    return texts.aboutauthor.arg(texts.title, QLatin1String(version), QLatin1String(author)) + u'\r'
        + texts.aboutvisit.arg(QLatin1String(webPage));
}

ObstacleCaptionTexts obstacleCaptionTexts(const InterfaceTexts &texts)
{
    ObstacleCaptionTexts caption{texts.bobstacles, texts.noobstacles, texts.shore, {}};
    std::copy_n(texts.terrain.begin(), caption.terrain.size(), caption.terrain.begin());
    return caption;
}

QString withTrailingSeparator(const QString &folder)
{
    if (folder.size() > 3 && !platform::isPathSeparator(folder.back()))
        return folder + platform::PathSeparator;
    return folder;
}

SettingsAndTexts loadSettingsAndTexts(const QString &path)
{
    SettingsAndTexts result;
    InterfaceTexts &texts = result.texts;
    QStringList &problems = result.problems;
    if (!QFileInfo::exists(path))
        return result;
    const std::optional<IniFile> ini = QFileInfo(path).isFile() ? IniFile::load(path) : std::nullopt;
    if (!ini) {
        problems << texts.setnoread;
        return result;
    }

    // The faults are worded once the language's texts are read.
    std::vector<std::function<QString(const InterfaceTexts &)>> faults;
    Settings &settings = result.settings;
    const QString options = QString::fromLatin1(OptionsSection);
    if (ini->hasSection(options)) {
        // A number that does not read as one keeps the built-in value, and says so.
        const auto number = [&](const char *key, int fallback) {
            const std::optional<QString> text = ini->value(options, QString::fromLatin1(key));
            if (text && !parseIniInteger(*text))
                faults.push_back([key, text = *text, fallback](const InterfaceTexts &t) {
                    return t.setnotnumber.arg(QLatin1String(key), text).arg(fallback);
                });
            return ini->readInteger(options, key, fallback);
        };
        settings.valdris_path = withTrailingSeparator(ini->readString(options, "valdris_path", QString()));
        settings.language = ini->readString(options, "language", QString());
        settings.graphics = number("graphics", 2);
        settings.use_nagscreen = number("use_nagscreen", 1);
        settings.use_showobst = number("use_showobst", 1);
        settings.use_ramobst = number("use_ramobst", 1);
        if (settings.graphics == 0 && !QFileInfo(settings.valdris_path).isDir())
            faults.push_back([folder = settings.valdris_path](const InterfaceTexts &t) { return t.setnofolder.arg(folder); });
    } else {
        faults.push_back([options](const InterfaceTexts &t) { return t.setnooptions.arg(options); });
    }

    // Without the language section the built-in English texts stay and the
    // terrain names are empty.
    if (!settings.language.isEmpty() && !ini->hasSection(settings.language))
        faults.push_back([language = settings.language](const InterfaceTexts &t) { return t.setnolanguage.arg(language); });
    if (!settings.language.isEmpty() && ini->hasSection(settings.language)) {
        for (const InterfaceTexts::Entry &entry : InterfaceTexts::entries())
            texts.*entry.text = ini->readString(settings.language, QString::fromLatin1(entry.key), texts.*entry.text);
        const QString reasonPrefix = QStringLiteral("reason.");
        const QHash<QString, QString> reasons = ini->keysStartingWith(settings.language, reasonPrefix);
        for (auto reason = reasons.constBegin(); reason != reasons.constEnd(); ++reason)
            texts.reasonWordings.insert(reason.key().sliced(reasonPrefix.size()), reason.value());
        for (int type = 0; type < int(texts.terrain.size()); ++type) {
            const QString key = QStringLiteral("terrain%1").arg(type);
            texts.terrain[type] = ini->readString(settings.language, key, key);
        }
        if (!pluralRuleNamed(texts.plural))
            faults.push_back([](const InterfaceTexts &t) {
                return t.setnoplural.arg(t.plural, pluralRuleName(t.pluralRule()));
            });
    }
    for (const auto &fault : faults)
        problems << fault(texts);
    return result;
}
