#include "ModulePath.h"

#include <system_error>

std::filesystem::path GetExecutableDirectory() {
    std::error_code ec;
    // No fixed-size buffer: the path of the executable may be as long as the system allows.
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) {
        return {};
    }
    return exe.parent_path();
}
