// The 59 states and possessions that have a place archive, with the two-letter code that names
// each one's archive ("timezone.arc." + code). The rows are in the order of the window's state
// list (alphabetical); the names are the list's exact texts (note the capital "Of" in two of
// them). The window and daybreak-cli both take the states from here.
#pragma once

#include <array>
#include <string_view>

struct CStateRow {
    std::string_view name;
    std::string_view code;
};

extern const std::array<CStateRow, 59> g_StateTable;
