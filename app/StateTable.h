// The 59 states and possessions the state list offers, with the two-letter code that names
// each one's place archive ("timezone.arc." + code). The rows are in alphabetical order; the
// names are the list's exact texts (note the capital "Of" in two of them).
#pragma once

#include <array>
#include <string_view>

struct CStateRow {
    std::string_view name;
    std::string_view code;
};

extern const std::array<CStateRow, 59> g_StateTable;
