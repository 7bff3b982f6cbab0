// Plural forms: which of a text's forms a count takes, by a language's rule.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// The rules a language section can name under its key "plural". Each gives
// the forms in the order a text lists them.
enum class PluralRule {
    Other,         // "other": one form for every count
    OneOther,      // "one-other": 1; every other count
    OneZeroOther,  // "onezero-other": 0 and 1; every other count
    OneFewMany,    // "one-few-many": 1, 21, 31, 101 ... (not 11); 2-4, 22-24 ... (not 12-14); every other count
};

// The rule of that name (letter case ignored), or none.
std::optional<PluralRule> pluralRuleNamed(QStringView name);

// The name the language section gives the rule.
QString pluralRuleName(PluralRule rule);

// The index of the form the count takes under the rule (0 the first).
int pluralFormIndex(PluralRule rule, std::uint64_t count);

// The form the count takes of forms separated by "|"; when the text lists
// fewer forms than the rule has, the last one stands for the missing ones.
QString pluralForm(const QString &forms, std::uint64_t count, PluralRule rule);
