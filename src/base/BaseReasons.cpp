// The table of the file helpers' reasons.
#include "base/BaseReasons.h"

namespace {

constexpr ReasonKind kinds[] = {BRACKWEN_BASE_REASONS(BRACKWEN_REASON_ENTRY)};

}  // namespace

std::span<const ReasonKind> baseReasons()
{
    return kinds;
}
