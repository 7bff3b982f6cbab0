// The river and road rules, with the first fitting rule of every side mask
// worked out once.
#include "rules/PathRules.h"

#include <algorithm>
#include <utility>

void PathRules::setType(PathLayer layer, std::uint8_t type, const std::vector<std::uint8_t> &joiningTypes, std::vector<Rule> rules)
{
    TypeRules &target = m_types[index(layer)][type];
    target.joins.fill(false);
    target.joins[type] = true;
    for (const std::uint8_t other : joiningTypes)
        target.joins[other] = true;

    target.rules = std::move(rules);
    target.hasRules = !target.rules.empty();
    target.pictures.clear();
    std::vector<std::uint32_t> firstPicture;
    for (const Rule &rule : target.rules) {
        firstPicture.push_back(std::uint32_t(target.pictures.size()));
        target.pictures.insert(target.pictures.end(), rule.pictures.begin(), rule.pictures.end());
    }
    // The level loop reads a picture for every cell, also where no rule fits
    // (and throws it away), so there is always one to read.
    if (target.pictures.empty())
        target.pictures.push_back(0);
    for (int mask = 0; mask < MaskCount; ++mask) {
        const auto found = std::find_if(target.rules.begin(), target.rules.end(),
                                        [mask](const Rule &rule) { return rule.matches(std::uint8_t(mask)); });
        const std::size_t rule = std::size_t(found - target.rules.begin());
        target.choices[mask] = found == target.rules.end()
            ? Choice()
            : Choice{firstPicture[rule], std::uint32_t(found->pictures.size()), found->mirror};
    }
}

bool PathRules::isEmpty() const
{
    return std::none_of(m_types.begin(), m_types.end(), [](const auto &types) {
        return std::any_of(types.begin(), types.end(), [](const TypeRules &type) { return type.hasRules; });
    });
}

const PathRules::Rule *PathRules::ruleFor(PathLayer layer, std::uint8_t type, std::uint8_t joiningSides) const
{
    const std::vector<Rule> &list = rules(layer, type);
    const auto found = std::find_if(list.begin(), list.end(), [joiningSides](const Rule &rule) { return rule.matches(joiningSides); });
    return found == list.end() ? nullptr : &*found;
}
