// brackwen-cli commands: obstacle.
#include "cli/Commands.h"

std::span<const CliCommand> obstacleCommands()
{
    return {};
}
