#pragma once
// The command-line tool as a function, so that tests run it without a process:
//
//     std::ostringstream out, err;
//     int status = RunCli({"--lat", "41.88", "--lon", "87.63W", "--offset", "6"}, out, err);
//
// `args` excludes the program's name. The whole output is built before anything is written
// (but for --dump, which writes each record as it reads it): on an error nothing but the
// message (on `err`) appears: one line, and kCliHelpHint after it when the command line
// itself is wrong.
// Exit status: 0 on success, 2 for bad arguments and for inputs the engine cannot compute, 1
// for output that cannot be written (the reason on `err`, or nothing when the reader has gone:
// EPIPE), for running out of memory ("out of memory") and for a cut-off --dump.

#include <iosfwd>
#include <string>
#include <vector>

inline constexpr int kCliExitOk = 0;
inline constexpr int kCliExitFailure = 1;
inline constexpr int kCliExitUsage = 2;

// The line after every message about a bad command line (exit status 2).
inline constexpr char kCliHelpHint[] = "try 'daybreak-cli --help'\n";

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The same on a clock and a sleep of the caller's ("today", --now, --wait): the system's in
// the overload above, injected in tests.
struct CCliSystem;
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CCliSystem& system);

// The --help text.
std::string CliUsage();
