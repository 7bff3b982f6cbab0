// The table of the graphics library's reasons.
#include "gfx/GfxReasons.h"

namespace {

constexpr ReasonKind kinds[] = {BRACKWEN_GFX_REASONS(BRACKWEN_REASON_ENTRY)};

}  // namespace

std::span<const ReasonKind> gfxReasons()
{
    return kinds;
}
