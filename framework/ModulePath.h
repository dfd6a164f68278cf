// Where the running program lies on disk, found through /proc/self/exe.
#pragma once

#include <filesystem>

// The directory of the running executable, or an empty path (the current directory) when the
// system cannot tell.
std::filesystem::path GetExecutableDirectory();
