// What every refusal of the command-line tool looks like, for the tests of
// its commands.
#pragma once

#include "CliRunner.h"

#include <gtest/gtest.h>

// Exit status 1, nothing on standard output, and one line on standard error
// that starts with `start` ("brackwen-cli: " and as much of the reason as the
// test cares about).
inline void expectRefusal(const CliRun &run, const QByteArray &start)
{
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith(start)) << run.err.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
}
