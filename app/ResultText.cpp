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

namespace {

constexpr const char* kDateTimeSeparator = ",  ";

}  // namespace

std::string DateText(const CCivilDate& date) {
    const std::string text = FormatSolarTime(CCivilTime{date, 0, 0, 0});
    return text.substr(0, text.find(kDateTimeSeparator));
}

std::string ClockOnDate(const CSolarResult& result, const std::string& date) {
    const std::string full = FormatSolarTime(result);
    const std::size_t split = full.find(kDateTimeSeparator);
    if (!result.HasTime() || split == std::string::npos) {
        return full;
    }
    const std::string clock =
        full.substr(split + std::char_traits<char>::length(kDateTimeSeparator));
    const std::string day = full.substr(0, split);
    return day == date ? clock : clock + " (" + day + ")";
}
