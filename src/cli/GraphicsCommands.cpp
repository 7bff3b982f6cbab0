// brackwen-cli commands: graphics.
#include "cli/Commands.h"

std::span<const CliCommand> graphicsCommands()
{
    return {};
}
