// Reading a command's words by its table, and its usage and help from it.
#include "cli/CommandOptions.h"

#include <algorithm>

namespace {

// "a", "a or b", "a, b or c".
QString listed(const QStringList &words, const QString &last)
{
    if (words.size() < 2)
        return words.join(QString());
    return words.mid(0, words.size() - 1).join(QStringLiteral(", ")) + u' ' + last + u' ' + words.last();
}

// What the option's value is called in the usage line: its word, or its choices.
QString shownValue(const CliOption &option)
{
    if (option.value.kind == CliValueKind::None)
        return {};
    if (option.shown)
        return QString::fromLatin1(option.shown);
    if (option.value.kind == CliValueKind::Level)
        return QStringLiteral("0|1");
    if (option.value.kind == CliValueKind::Choice)
        return option.value.choices().join(u'|');
    return QStringLiteral("VALUE");
}

// What the option takes, for the refusal of a value it does not.
QString takes(const CliValue &value)
{
    switch (value.kind) {
    case CliValueKind::Level:
        return QStringLiteral("0 or 1");
    case CliValueKind::Number:
        return QStringLiteral("a whole number from %1 to %2").arg(value.lowest).arg(value.highest);
    case CliValueKind::Choice:
        return listed(value.choices(), QStringLiteral("or"));
    case CliValueKind::Checked:
        return QString::fromLatin1(value.description);
    case CliValueKind::None:
    case CliValueKind::Text:
        break;
    }
    return {};
}

bool accepted(const CliValue &value, const QString &text)
{
    switch (value.kind) {
    case CliValueKind::Level:
        return text == QLatin1String("0") || text == QLatin1String("1");
    case CliValueKind::Number: {
        const std::optional<std::uint32_t> number = parseDecimal(text, value.highest);
        return number && *number >= value.lowest;
    }
    case CliValueKind::Choice:
        return value.choices().contains(text);
    case CliValueKind::Checked:
        return value.accepts(text);
    case CliValueKind::None:
    case CliValueKind::Text:
        break;
    }
    return true;
}

QString optionText(const CliOption &option)
{
    const QString value = shownValue(option);
    return value.isEmpty() ? QString::fromLatin1(option.name) : QString::fromLatin1(option.name) + u' ' + value;
}

QString formText(const CliForm &form)
{
    QStringList words;
    if (form.word)
        words << QString::fromLatin1(form.word);
    for (const char *argument : form.arguments)
        words << QString::fromLatin1(argument);
    // The options of a group are written together, "a | b", bracketed
    // unless one of them is required.
    for (std::size_t i = 0; i < form.options.size();) {
        const CliOption &first = form.options[i];
        QStringList together{optionText(first)};
        std::size_t next = i + 1;
        while (first.group != 0 && next < form.options.size() && form.options[next].group == first.group)
            together << optionText(form.options[next++]);
        const QString text = together.join(QStringLiteral(" | "));
        words << (first.required ? text : u'[' + text + u']');
        i = next;
    }
    return words.join(u' ');
}

const CliOption *findOption(const CliForm &form, const QString &name)
{
    for (const CliOption &option : form.options)
        if (name == QLatin1String(option.name))
            return &option;
    return nullptr;
}

// The form the words take: the one their first word picks, or else the one
// no word picks; none when neither is there.
const CliForm *chooseForm(std::span<const CliForm> forms, const QStringList &words, int &index)
{
    for (std::size_t i = 0; i < forms.size(); ++i)
        if (forms[i].word && !words.isEmpty() && words.first() == QLatin1String(forms[i].word)) {
            index = int(i);
            return &forms[i];
        }
    for (std::size_t i = 0; i < forms.size(); ++i)
        if (!forms[i].word) {
            index = int(i);
            return &forms[i];
        }
    return nullptr;
}

}  // namespace

std::uint32_t CliArgs::number(const char *option, std::uint32_t absent) const
{
    if (!has(option))
        return absent;
    return parseDecimal(value(option), 0xFFFFFFFFu).value_or(absent);
}

CliParse CliParse::of(const char *command, std::span<const CliForm> forms, const QStringList &words)
{
    CliParse parse;
    if (words.contains(QLatin1String("--help"))) {
        parse.outcome = Outcome::Help;
        return parse;
    }
    const auto refuse = [&parse](const QString &reason) {
        parse.outcome = Outcome::Refused;
        parse.refusal = reason;
        return parse;
    };
    const auto usage = [&] { return refuse(cliUsageLine(command, forms)); };
    const CliForm *form = chooseForm(forms, words, parse.args.form);
    if (!form)
        return usage();
    CliArgs &args = parse.args;
    for (qsizetype i = form->word ? 1 : 0; i < words.size(); ++i) {
        const QString &word = words[i];
        if (!word.startsWith(QLatin1String("--")) || word.size() < 3) {
            args.arguments << word;
            continue;
        }
        const CliOption *option = findOption(*form, word);
        if (!option)
            return usage();
        if (args.m_values.contains(word))
            return refuse(QStringLiteral("%1 is given twice").arg(word));
        QString value;
        if (option->value.kind != CliValueKind::None) {
            if (i + 1 >= words.size())
                return usage();
            value = words[++i];
            if (!accepted(option->value, value))
                return refuse(cliValueRefusal(word, takes(option->value), value));
        }
        if (option->group != 0) {
            QStringList group;
            bool conflict = false;
            for (const CliOption &other : form->options)
                if (other.group == option->group) {
                    group << QString::fromLatin1(other.name);
                    conflict = conflict || args.has(other.name);
                }
            if (conflict)
                return refuse(QStringLiteral("name only one of %1").arg(listed(group, QStringLiteral("and"))));
        }
        args.m_values.insert(word, value);
    }
    if (args.arguments.size() != qsizetype(form->arguments.size()))
        return usage();
    for (const CliOption &option : form->options) {
        if (!option.required)
            continue;
        const bool given = std::any_of(form->options.begin(), form->options.end(), [&](const CliOption &other) {
            return (&other == &option || (option.group != 0 && other.group == option.group)) && args.has(other.name);
        });
        if (!given)
            return usage();
    }
    return parse;
}

QString cliUsageText(std::span<const CliForm> forms)
{
    QStringList texts;
    for (const CliForm &form : forms)
        texts << formText(form);
    return texts.join(QStringLiteral(" | "));
}

QString cliUsageLine(const char *command, std::span<const CliForm> forms)
{
    return QStringLiteral("usage: brackwen-cli %1 %2").arg(QLatin1String(command), cliUsageText(forms));
}

QString cliCommandHelp(const char *command, const char *summary, std::span<const CliForm> forms)
{
    QString help = cliUsageLine(command, forms) + QStringLiteral("\n\n%1\n").arg(QLatin1String(summary));
    // Two columns: what is written, and what it does.
    const auto section = [&help](const QString &title, const QList<std::pair<QString, QString>> &lines) {
        if (lines.isEmpty())
            return;
        qsizetype width = 0;
        for (const auto &line : lines)
            width = std::max(width, line.first.size());
        help += u'\n' + title + QStringLiteral(":\n");
        for (const auto &[words, text] : lines)
            help += QStringLiteral("  %1  %2\n").arg(words, -int(width)).arg(text);
    };
    QList<std::pair<QString, QString>> formLines;
    if (forms.size() > 1)
        for (const CliForm &form : forms)
            formLines.append({formText(form), QString::fromLatin1(form.help)});
    section(QStringLiteral("Forms"), formLines);
    QStringList seen;
    QList<std::pair<QString, QString>> optionLines;
    for (const CliForm &form : forms)
        for (const CliOption &option : form.options)
            if (!seen.contains(QLatin1String(option.name))) {
                seen << QString::fromLatin1(option.name);
                optionLines.append({optionText(option), QString::fromLatin1(option.help)});
            }
    section(QStringLiteral("Options"), optionLines);
    return help;
}

QString cliValueRefusal(const QString &option, const QString &takes, const QString &value)
{
    return QStringLiteral("%1 takes %2, not \"%3\"").arg(option, takes, value);
}

std::optional<std::uint32_t> parseDecimal(const QString &text, std::uint32_t limit)
{
    // Ten digits hold every 32-bit number; more are refused before they are added up.
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    std::uint64_t number = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        number = number * 10 + std::uint64_t(c.unicode() - u'0');
    }
    if (number > limit)
        return std::nullopt;
    return std::uint32_t(number);
}
