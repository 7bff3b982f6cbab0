// The reasons of reading the rules file. The section names and keys they
// quote ([terrain N], same, lr ...) are the file's own words and stay as
// they are in every language.
#pragma once

#include "base/Reason.h"

#define BRACKWEN_RULES_REASONS(REASON) \
    REASON(RulesLine, "rules.line", "line %1: %2") \
    REASON(RulesCannotRead, "rules.read", "cannot read %1: %2") \
    REASON(RulesTooLarge, "rules.larger", "the file is larger than %1 bytes, far too large for a rules file") \
    REASON(RulesNoRule, "rules.norule", \
           "the file has no rule: it needs a [terrain N], [river N] or [road N] section with at least one rule") \
    REASON(RulesNotType, "rules.type", "\"%1\" is not a %2 type %3..%4") \
    REASON(RulesExpectedLine, "rules.expected", \
           "expected a [terrain N], [river N] or [road N] section or a \"key = value\" line") \
    REASON(RulesBeforeSection, "rules.beforesection", "\"%1\" stands before the first section") \
    REASON(RulesUnknownKey, "rules.key", "unknown key \"%1\" (expected %2, like or rule)") \
    REASON(RulesSectionEnd, "rules.sectionend", "a section name ends with \"]\"") \
    REASON(RulesSectionName, "rules.section", "expected a section [terrain N], [river N] or [road N], not %1") \
    REASON(RulesSectionTwice, "rules.twice", "%1 has a section already (line %2)") \
    REASON(RulesNoRules, "rules.norules", "%1 has no rules") \
    REASON(RulesNoRulesAbove, "rules.noneabove", "%1 has no rules above this line") \
    REASON(RulesPictureBeyond, "rules.picture", "picture %1 is beyond %2's last picture %3") \
    REASON(RulesRepeats, "rules.repeats", "rule repeats line %1") \
    REASON(RulesTooMany, "rules.toomany", "%1 has more than %2 rules") \
    REASON(RulesTerrainShape, "rules.terrainshape", \
           "a rule is a neighbourhood, \":\", picture numbers, and optionally \":\" and mirror bits") \
    REASON(RulesPathShape, "rules.pathshape", \
           "a rule is a pattern of sides, \":\", picture numbers, and optionally \":\" and mirror bits") \
    REASON(RulesNeighbourMark, "rules.neighbourmark", "\"%1\" is not a neighbour mark (s same, o other, * any)") \
    REASON(RulesSideMark, "rules.sidemark", "\"%1\" is not a side mark (j joins, o does not, * either)") \
    REASON(RulesNeighbourhood, "rules.neighbourhood", \
           "a neighbourhood is nine marks, the row above, the cell's row with \".\" in the middle, the row below, not \"%1\"") \
    REASON(RulesSides, "rules.sides", "a pattern of sides is four marks, north, east, south and west, not \"%1\"") \
    REASON(RulesNoPicture, "rules.nopicture", "a rule names at least one picture") \
    REASON(RulesPictureNumber, "rules.picturenumber", "\"%1\" is not a picture number") \
    REASON(RulesMirror, "rules.mirror", "\"%1\" is not a mirror bit (lr left-right, ud upside-down)")

namespace reasons {
BRACKWEN_RULES_REASONS(BRACKWEN_REASON_KIND)
}

// The kinds above, for the check of the languages' wordings.
std::span<const ReasonKind> rulesReasons();
