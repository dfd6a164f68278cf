#include <unistd.h>

#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "Cli.h"
#include "FdOutput.h"

int main(int argc, char** argv) {
    // Both streams write straight to their descriptors, so that a failed write is seen with
    // its reason.
    CFdOutputBuffer outBuffer(STDOUT_FILENO);
    CFdOutputBuffer errBuffer(STDERR_FILENO);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    err.setf(std::ios::unitbuf);  // each message as soon as it is made
    try {
        const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
        return RunCli(args, out, err);
    } catch (const std::bad_alloc&) {
        err << "daybreak-cli: out of memory\n" << std::flush;
        return kCliExitFailure;
    }
}
