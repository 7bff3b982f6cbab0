// brackwen-cli commands: map.
#include "cli/Commands.h"

std::span<const CliCommand> mapCommands()
{
    return {};
}
