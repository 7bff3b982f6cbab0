// Plural forms by a language's rule.
#include "base/Plural.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<PluralRule, const char *>, 4> RuleNames{{
    {PluralRule::Other, "other"},
    {PluralRule::OneOther, "one-other"},
    {PluralRule::OneZeroOther, "onezero-other"},
    {PluralRule::OneFewMany, "one-few-many"},
}};

}  // namespace

std::optional<PluralRule> pluralRuleNamed(QStringView name)
{
    const QStringView trimmed = name.trimmed();
    for (const auto &[rule, ruleName] : RuleNames)
        if (trimmed.compare(QLatin1String(ruleName), Qt::CaseInsensitive) == 0)
            return rule;
    return std::nullopt;
}

QString pluralRuleName(PluralRule rule)
{
    for (const auto &[each, name] : RuleNames)
        if (each == rule)
            return QString::fromLatin1(name);
    return {};
}

int pluralFormIndex(PluralRule rule, std::uint64_t count)
{
    switch (rule) {
    case PluralRule::Other:
        return 0;
    case PluralRule::OneOther:
        return count == 1 ? 0 : 1;
    case PluralRule::OneZeroOther:
        return count <= 1 ? 0 : 1;
    case PluralRule::OneFewMany: {
        const std::uint64_t lastDigit = count % 10;
        const std::uint64_t lastTwo = count % 100;
        if (lastDigit == 1 && lastTwo != 11)
            return 0;
        if (lastDigit >= 2 && lastDigit <= 4 && (lastTwo < 12 || lastTwo > 14))
            return 1;
        return 2;
    }
    }
    return 0;
}

QString pluralForm(const QString &forms, std::uint64_t count, PluralRule rule)
{
    const QStringList listed = forms.split(u'|');
    return listed[std::min<qsizetype>(pluralFormIndex(rule, count), listed.size() - 1)];
}
