// The words that name the symmetry modes on the command line.
#pragma once

#include "edit/Symmetry.h"

#include <QString>

#include <optional>
#include <span>

struct SymmetryName {
    const char *name;
    SymmetryMode mode;
};

// Every mode with its word ("none", "left-right", ...), in the editor's order.
std::span<const SymmetryName> symmetryNames();

std::optional<SymmetryMode> symmetryModeNamed(const QString &name);
// The words of all modes, separated by "|", for usage lines and refusals.
QString symmetryNameList();
