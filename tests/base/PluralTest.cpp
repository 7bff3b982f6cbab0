// Plural forms: which form a count takes under each rule, and the rules' names.
#include "base/Plural.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The forms of "cell" in the language of the one-few-many rule for a run of
// counts, a letter a count: a the first form, i the second, o the third.
struct CountRun {
    std::uint64_t first;
    const char *forms;
};

TEST(Plural, OneFewManyTakesTheFormsOfItsLanguage)
{
    const QString cells = QString::fromUtf8("%n клетка|%n клетки|%n клеток");
    const QString words[] = {QString::fromUtf8("клетка"), QString::fromUtf8("клетки"), QString::fromUtf8("клеток")};
    const CountRun runs[] = {
        {0, "oaiii" "oooooooooooooooo" "aiiio"},  // 0 .. 25
        {101, "aiii" "oooooooooooooooo" "aiiio"},  // 101 .. 125, 111 to 114 among the third form
        {1000001, "a"},
        {1000011, "o"},
        {1000022, "i"},
    };
    for (const CountRun &run : runs) {
        const std::string forms = run.forms;
        for (std::size_t i = 0; i < forms.size(); ++i) {
            const std::uint64_t count = run.first + i;
            const QString word = words[forms[i] == 'a' ? 0 : forms[i] == 'i' ? 1 : 2];
            EXPECT_EQ(pluralForm(cells, count, PluralRule::OneFewMany), "%n " + word) << count;
        }
    }
}

TEST(Plural, OneOtherAndTheOtherRules)
{
    const QString cells = QStringLiteral("%n cell|%n cells");
    const struct {
        PluralRule rule;
        std::uint64_t count;
        const char *form;
    } cases[] = {
        {PluralRule::OneOther, 0, "%n cells"},        {PluralRule::OneOther, 1, "%n cell"},
        {PluralRule::OneOther, 2, "%n cells"},        {PluralRule::OneOther, 21, "%n cells"},
        {PluralRule::OneOther, 101, "%n cells"},      {PluralRule::OneOther, 1000001, "%n cells"},
        {PluralRule::OneZeroOther, 0, "%n cell"},     {PluralRule::OneZeroOther, 1, "%n cell"},
        {PluralRule::OneZeroOther, 2, "%n cells"},    {PluralRule::Other, 1, "%n cell"},
        {PluralRule::Other, 7, "%n cell"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pluralForm(cells, c.count, c.rule), c.form) << pluralRuleName(c.rule).toStdString() << ' ' << c.count;
}

TEST(Plural, MissingFormsTakeTheLastAndOneFormServesEveryCount)
{
    EXPECT_EQ(pluralForm(QStringLiteral("a|b"), 5, PluralRule::OneFewMany), "b");
    EXPECT_EQ(pluralForm(QStringLiteral("a|b"), 21, PluralRule::OneFewMany), "a");
    EXPECT_EQ(pluralForm(QStringLiteral("only"), 5, PluralRule::OneOther), "only");
}

TEST(Plural, RulesAreNamedWithoutRegardToLetterCase)
{
    for (const PluralRule rule : {PluralRule::Other, PluralRule::OneOther, PluralRule::OneZeroOther, PluralRule::OneFewMany})
        EXPECT_EQ(pluralRuleNamed(pluralRuleName(rule)), rule);
    EXPECT_EQ(pluralRuleNamed(u" One-Few-Many "), PluralRule::OneFewMany);
    EXPECT_EQ(pluralRuleNamed(u"dual"), std::nullopt);
    EXPECT_EQ(pluralRuleNamed(u""), std::nullopt);
}

}  // namespace
