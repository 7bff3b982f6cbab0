// Edit, Generate terrain…: the dialog for the open map, then the generated
// level written over the chosen one as one step of the history.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

class EditorContext;
class Preferences;
class QWidget;

// Shows the dialog; on Generate, shows the chosen level (through chooseLevel)
// and writes the generated one over it as one step, and returns the number of
// cells that changed; none when cancelled or no map is open.
std::optional<std::size_t> generateTerrainFromDialog(QWidget *parent, EditorContext &context,
                                                     Preferences &preferences,
                                                     const std::function<void(int level)> &chooseLevel);
