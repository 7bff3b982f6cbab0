// Reasons as values, worded in English or through a language's wordings.
#include "base/Reason.h"

#include <algorithm>

Reason::Argument::Argument(const Reason &reason) : m_reason(std::make_shared<const Reason>(reason)) {}

QString Reason::Argument::worded(const std::function<QString(const ReasonKind &)> &wording) const
{
    return m_reason ? m_reason->worded(wording) : m_text;
}

Reason::Reason(const ReasonKind &kind, std::initializer_list<Argument> arguments) : m_kind(&kind), m_arguments(arguments)
{
}

Reason Reason::plain(const QString &text)
{
    Reason reason;
    reason.m_plain = text;
    return reason;
}

QString Reason::english() const
{
    return worded([](const ReasonKind &kind) { return QString::fromUtf8(kind.english); });
}

QString Reason::worded(const std::function<QString(const ReasonKind &)> &wording) const
{
    if (m_kind == nullptr)
        return m_plain;
    QStringList texts;
    texts.reserve(m_arguments.size());
    for (const Argument &argument : m_arguments)
        texts << argument.worded(wording);
    return fillPlaceholders(wording(*m_kind), texts);
}

namespace {

// The number of the placeholder "%N" at position at (N of one or two digits,
// from 1), and its length; none when there is none.
std::pair<int, int> placeholderAt(const QString &wording, qsizetype at)
{
    if (wording[at] != u'%' || at + 1 >= wording.size() || !wording[at + 1].isDigit())
        return {0, 0};
    int number = wording[at + 1].digitValue();
    int length = 2;
    if (at + 2 < wording.size() && wording[at + 2].isDigit()) {
        number = number * 10 + wording[at + 2].digitValue();
        length = 3;
    }
    return {number, length};
}

}  // namespace

QString fillPlaceholders(const QString &wording, const QStringList &arguments)
{
    QString filled;
    filled.reserve(wording.size());
    for (qsizetype at = 0; at < wording.size();) {
        const auto [number, length] = placeholderAt(wording, at);
        if (number >= 1 && number <= arguments.size()) {
            filled += arguments[number - 1];
            at += length;
        } else {
            filled += wording[at++];
        }
    }
    return filled;
}

QList<int> placeholdersOf(const QString &wording)
{
    QList<int> numbers;
    for (qsizetype at = 0; at < wording.size(); ++at)
        if (const auto [number, length] = placeholderAt(wording, at); number >= 1 && !numbers.contains(number))
            numbers << number;
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}
