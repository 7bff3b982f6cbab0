// Why something was refused or failed, as a value: a kind (a stable key and
// the English wording with "%1", "%2" ... for its arguments) and the arguments,
// each a text or another reason. The command-line tool and the logs print the
// English sentence; the windows word the same value in the interface's
// language, the key naming the wording to take.
#pragma once

#include <QList>
#include <QString>

#include <concepts>
#include <functional>
#include <memory>
#include <span>

// One kind of reason. The key names its wording in a language's texts
// ("reason.<key>"); the English wording is the built-in one.
struct ReasonKind {
    const char *key;
    const char *english;
};

class Reason {
public:
    // A text or a nested reason in place of "%N".
    class Argument {
    public:
        Argument(const QString &text) : m_text(text) {}
        Argument(const char *text) : m_text(QString::fromUtf8(text)) {}
        Argument(QLatin1StringView text) : m_text(text) {}
        Argument(QChar character) : m_text(character) {}
        template <std::integral Number>
            requires(!std::same_as<Number, bool> && !std::same_as<Number, char>)
        Argument(Number number) : m_text(QString::number(number))
        {
        }
        Argument(const Reason &reason);

        // The text, or the nested reason worded by wording.
        QString worded(const std::function<QString(const ReasonKind &)> &wording) const;
        const Reason *reason() const { return m_reason.get(); }

    private:
        QString m_text;
        std::shared_ptr<const Reason> m_reason;
    };

    // No reason: nothing was refused.
    Reason() = default;
    Reason(const ReasonKind &kind, std::initializer_list<Argument> arguments = {});
    // A sentence that comes worded already and has no key: a system's or
    // Qt's own error text (Qt's come in the interface's language when its
    // translation is loaded).
    static Reason plain(const QString &text);

    bool isEmpty() const { return m_kind == nullptr && m_plain.isEmpty(); }
    // The kind, or none for a plain sentence or no reason.
    const ReasonKind *kind() const { return m_kind; }
    const QList<Argument> &arguments() const { return m_arguments; }

    // The sentence in English, as the command-line tool prints it.
    QString english() const;
    // The sentence with every kind's wording (this one's and its nested
    // reasons') taken from wording; placeholders are filled in the same way.
    QString worded(const std::function<QString(const ReasonKind &)> &wording) const;

private:
    const ReasonKind *m_kind = nullptr;
    QString m_plain;
    QList<Argument> m_arguments;
};

// Replaces "%1" .. "%99" in wording by the arguments in one pass (an argument's
// own "%N" stays as it is); a placeholder without an argument stays too.
QString fillPlaceholders(const QString &wording, const QStringList &arguments);

// The placeholders of a wording ("%1", "%2" ...), each once, sorted: what a
// translation must keep.
QList<int> placeholdersOf(const QString &wording);

// Each layer lists its kinds of reason in one place, as a list macro of
// REASON(name, key, English wording) lines: BRACKWEN_REASON_KIND makes the
// constants of such a list, BRACKWEN_REASON_ENTRY the entries of its table,
// which the check that every language words every reason walks.
#define BRACKWEN_REASON_KIND(name, key, english) inline constexpr ReasonKind name{key, english};
#define BRACKWEN_REASON_ENTRY(name, key, english) ReasonKind{key, english},
