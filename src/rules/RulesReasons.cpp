// The table of the rules file's reasons.
#include "rules/RulesReasons.h"

namespace {

constexpr ReasonKind kinds[] = {BRACKWEN_RULES_REASONS(BRACKWEN_REASON_ENTRY)};

}  // namespace

std::span<const ReasonKind> rulesReasons()
{
    return kinds;
}
