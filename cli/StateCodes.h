#pragma once
// The two-letter codes of the 59 states and possessions that have a place archive, in the
// order of the window's state list. The tool builds without the window, so it keeps its own
// copy of the codes.

#include <array>
#include <string_view>

inline constexpr std::array<std::string_view, 59> kStateCodes = {
    "AL", "AK", "AS", "AZ", "AR", "CA", "CO", "CT", "DE", "DC", "FM", "FL", "GA", "GU", "HI",
    "ID", "IL", "IN", "IA", "KS", "KY", "LA", "ME", "MH", "MD", "MA", "MI", "MN", "MS", "MO",
    "MT", "NE", "NV", "NH", "NJ", "NM", "NY", "NC", "ND", "MP", "OH", "OK", "OR", "PW", "PA",
    "PR", "RI", "SC", "SD", "TN", "TX", "UT", "VT", "VI", "VA", "WA", "WV", "WI", "WY"};
