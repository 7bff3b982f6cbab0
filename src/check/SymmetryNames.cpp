// The words of the symmetry modes.
#include "check/SymmetryNames.h"

#include <QStringList>

#include <array>

std::span<const SymmetryName> symmetryNames()
{
    static constexpr std::array names = {
        SymmetryName{"none", SymmetryMode::Off},          SymmetryName{"left-right", SymmetryMode::LeftRight},
        SymmetryName{"top-bottom", SymmetryMode::TopBottom}, SymmetryName{"four-way", SymmetryMode::FourWay},
        SymmetryName{"half-turn", SymmetryMode::HalfTurn},   SymmetryName{"quarter-turn", SymmetryMode::QuarterTurn},
        SymmetryName{"diagonal", SymmetryMode::Diagonal},
    };
    return names;
}

std::optional<SymmetryMode> symmetryModeNamed(const QString &name)
{
    for (const SymmetryName &each : symmetryNames())
        if (name == QLatin1String(each.name))
            return each.mode;
    return std::nullopt;
}

QStringList symmetryWords()
{
    QStringList words;
    for (const SymmetryName &each : symmetryNames())
        words << QString::fromLatin1(each.name);
    return words;
}
