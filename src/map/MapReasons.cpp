// The table of the map files' reasons.
#include "map/MapReasons.h"

namespace {

constexpr ReasonKind kinds[] = {BRACKWEN_MAP_REASONS(BRACKWEN_REASON_ENTRY)};

}  // namespace

std::span<const ReasonKind> mapReasons()
{
    return kinds;
}
