// The tool run in-process on `args`: its exit status and what it wrote to each stream.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline CliRun RunArgs(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}
