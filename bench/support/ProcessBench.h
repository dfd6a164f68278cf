#pragma once
// Times a whole program run, from process start to exit, its standard output thrown away:
// the cost a script pays for one call. The benchmark skips with an error when the program
// cannot start or does not end with status 0.
//
//     const char* const argv[] = {DAYBREAK_CLI_PATH, "--zip", "78572", nullptr};
//     RunProcessBenchmark(state, argv);

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

inline void RunProcessBenchmark(benchmark::State& state, const char* const* argv) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv), environ) != 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}
