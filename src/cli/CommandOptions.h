// What a command of brackwen-cli takes, as a table: its forms (a command such
// as lod has one for each sub-command word), each with the names of its
// arguments and its options. One reader takes every command's words apart by
// its table, and refuses the same mistake with the same words in every
// command; the usage line and COMMAND --help are written from the table too.
//
// What a refusal says:
// - words that do not fit the command (an unknown option, an option without
//   its value, too few or too many arguments, a required option missing):
//   the usage line, "usage: brackwen-cli COMMAND ...";
// - a value the option does not take: "--level takes 0 or 1, not "7"";
// - an option given twice: "--at is given twice";
// - two options that exclude each other: "name only one of --flip, --turn and
//   --mirror-half".
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <span>

// The kind of value an option takes.
enum class CliValueKind {
    None,     // a flag: no value
    Level,    // a level number: 0 (the ground) or 1 (the underground)
    Number,   // a whole number, written in decimal digits, from lowest to highest
    Choice,   // one of the words of choices
    Checked,  // a value accepts says yes to; description says what it is
    Text,     // anything: a file, a folder
};

struct CliValue {
    CliValueKind kind = CliValueKind::None;
    std::uint32_t lowest = 0;                 // Number: the range
    std::uint32_t highest = 0;
    QStringList (*choices)() = nullptr;       // Choice: the words, in the order usage shows them
    bool (*accepts)(const QString &) = nullptr;  // Checked
    const char *description = nullptr;        // Checked: what it takes ("a cell as COLUMN,ROW")
};

struct CliOption {
    const char *name;         // "--level"
    CliValue value;
    const char *shown;        // the value's word in the usage line ("FILE", "N"); none: its choices
    const char *help;         // a line for COMMAND --help
    int group = 0;            // options of one group (other than 0) exclude each other
    bool required = false;    // the option, or one of its group, must be given
};

// A form of a command: the word that picks it (the first word after the
// command, such as "list"; none for the form taken when no word picks one),
// the names of its arguments in order, and its options.
struct CliForm {
    const char *word;
    std::span<const char *const> arguments;
    std::span<const CliOption> options;
    const char *help = nullptr;  // a line for COMMAND --help, when there are several forms
};

// The options every command that has them declares alike.
inline constexpr CliOption LevelOption{
    "--level", {CliValueKind::Level}, nullptr, "the level: 0 the ground, 1 the underground (0 unless named)"};
inline constexpr CliOption RulesOption{"--rules", {CliValueKind::Text}, "FILE", "the terrain edge rules of FILE"};
inline constexpr CliOption JsonOption{"--json", {}, nullptr, "print one line of JSON instead of text"};

// The option in a group of options that exclude each other.
constexpr CliOption inGroup(CliOption option, int group, bool required = false)
{
    option.group = group;
    option.required = required;
    return option;
}

// The words of one command line, taken apart by the command's table.
class CliArgs {
public:
    QStringList arguments;  // the arguments in order, without the word that picked the form
    int form = 0;           // the index of the form the words took

    bool has(const char *option) const { return m_values.contains(QLatin1String(option)); }
    // The option's value as given; empty when the option is not given.
    QString value(const char *option) const { return m_values.value(QLatin1String(option)); }
    // The level of --level, 0 unless named.
    int level() const { return has("--level") ? value("--level").toInt() : 0; }
    // The option's number, or absent when the option is not given.
    std::uint32_t number(const char *option, std::uint32_t absent) const;

private:
    friend struct CliParse;
    QHash<QString, QString> m_values;
};

// What reading a command's words came to.
struct CliParse {
    enum class Outcome { Run, Help, Refused };
    Outcome outcome = Outcome::Run;
    CliArgs args;     // Run: the words taken apart
    QString refusal;  // Refused: the one-line reason

    // Reads words (those after the command's name) by the forms of command.
    static CliParse of(const char *command, std::span<const CliForm> forms, const QStringList &words);
};

// "MAP OUT --flip h|v | ... [--rules FILE]": the arguments after the
// command's name, for its usage line and the tool's --help.
QString cliUsageText(std::span<const CliForm> forms);

// "usage: brackwen-cli COMMAND ...": the refusal of words that do not fit.
QString cliUsageLine(const char *command, std::span<const CliForm> forms);

// COMMAND --help: the usage line, the summary, a line on each form (when
// there are several) and on each option.
QString cliCommandHelp(const char *command, const char *summary, std::span<const CliForm> forms);

// The refusal of a value an option does not take, in the words of every
// refusal of a value: "--at takes a cell as COLUMN,ROW, not "3"".
QString cliValueRefusal(const QString &option, const QString &takes, const QString &value);

// A plain decimal whole number (digits only) no greater than limit.
std::optional<std::uint32_t> parseDecimal(const QString &text, std::uint32_t limit);
