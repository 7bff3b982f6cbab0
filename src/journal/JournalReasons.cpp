// The table of the edit journal's reasons.
#include "journal/JournalReasons.h"

namespace {

constexpr ReasonKind kinds[] = {BRACKWEN_JOURNAL_REASONS(BRACKWEN_REASON_ENTRY)};

}  // namespace

std::span<const ReasonKind> journalReasons()
{
    return kinds;
}
