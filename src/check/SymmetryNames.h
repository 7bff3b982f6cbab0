// The words that name the symmetry modes on the command line.
#pragma once

#include "edit/Symmetry.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

struct SymmetryName {
    const char *name;
    SymmetryMode mode;
};

// Every mode with its word ("none", "left-right", ...), in the editor's order.
std::span<const SymmetryName> symmetryNames();

std::optional<SymmetryMode> symmetryModeNamed(const QString &name);
// The words of all modes, in the editor's order, for the options that take one.
QStringList symmetryWords();
