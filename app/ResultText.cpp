#include "ResultText.h"

#include <regex>

std::string CompactResultText(const std::string& text) {
    // The engine's note: "No <event>: the Sun is <up|down> all day (<last|next> <event>
    // <Weekday>, <Month> <DD>, <YYYY>,  <HH:MM:SS>)". The month keeps its first three letters.
    static const std::regex kNote(
        R"(No (sunrise|sunset): the Sun is (up|down) all day \((last|next) (sunrise|sunset) )"
        R"([A-Za-z]+, ([A-Za-z]{3})[a-z]* (\d{2}), (\d{4}),  (\d{2}:\d{2}:\d{2})\))");
    std::smatch match;
    if (!std::regex_match(text, match, kNote)) {
        return text;
    }
    return "Sun " + match.str(2) + " all day; " + match.str(3) + ' ' + match.str(4) + ' ' +
           match.str(5) + ' ' + match.str(6) + ", " + match.str(7) + ' ' + match.str(8);
}
