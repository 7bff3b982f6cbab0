// Every fuzz target writes its own seed corpus, made by our writers, when run
// as "TARGET --write-seeds=DIR"; this is the shared handling of that option.
#pragma once

#include <QString>

#include <cstdlib>
#include <cstring>

// Call from LLVMFuzzerInitialize: with --write-seeds=DIR among the arguments,
// writes the seeds into DIR and ends the program.
inline int writeSeedsIfAsked(const int *argc, char ***argv, void (*writeSeeds)(const QString &folder))
{
    constexpr const char *Option = "--write-seeds=";
    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp((*argv)[i], Option, std::strlen(Option)) == 0) {
            writeSeeds(QString::fromLocal8Bit((*argv)[i] + std::strlen(Option)));
            std::exit(0);
        }
    }
    return 0;
}
