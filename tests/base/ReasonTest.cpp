// Reasons as values: the English sentence, nested reasons and the filling of
// placeholders.
#include "base/Reason.h"

#include <gtest/gtest.h>

namespace {

constexpr ReasonKind Outer{"test.outer", "cannot open %2: %1"};
constexpr ReasonKind Inner{"test.inner", "%1 bytes missing"};

TEST(Reason, EnglishFillsArgumentsAndNestedReasons)
{
    const Reason none;
    EXPECT_TRUE(none.isEmpty());
    EXPECT_EQ(none.english(), QString());

    const Reason nested(Outer, {Reason(Inner, {qint64(12)}), QStringLiteral("a.vdm")});
    EXPECT_FALSE(nested.isEmpty());
    EXPECT_EQ(nested.english(), "cannot open a.vdm: 12 bytes missing");
    EXPECT_EQ(Reason(Outer, {Reason::plain("Permission denied"), "b"}).english(), "cannot open b: Permission denied");

    // Each kind is worded by the caller, the nested one too; a plain sentence stays.
    const auto shout = [](const ReasonKind &kind) { return QString::fromLatin1(kind.english).toUpper(); };
    EXPECT_EQ(nested.worded(shout), "CANNOT OPEN a.vdm: 12 BYTES MISSING");
    EXPECT_EQ(Reason::plain("as it is").worded(shout), "as it is");
}

TEST(Reason, PlaceholdersAreFilledOnceInOnePass)
{
    const struct {
        const char *wording;
        QStringList arguments;
        const char *filled;
        QList<int> placeholders;
    } cases[] = {
        {"%1 of %2", {"a", "b"}, "a of b", {1, 2}},
        {"%2 before %1, %2 again", {"a", "b"}, "b before a, b again", {1, 2}},
        {"%1", {"%2"}, "%2", {1}},               // an argument's own placeholder stays
        {"%3 has no argument", {"a"}, "%3 has no argument", {3}},
        {"100% sure, %1", {"x"}, "100% sure, x", {1}},
        {"%10 and %1", QStringList(10, "y"), "y and y", {1, 10}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(fillPlaceholders(QString::fromLatin1(c.wording), c.arguments), QString::fromLatin1(c.filled)) << c.wording;
        EXPECT_EQ(placeholdersOf(QString::fromLatin1(c.wording)), c.placeholders) << c.wording;
    }
}

}  // namespace
