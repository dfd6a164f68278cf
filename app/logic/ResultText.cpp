#include "ResultText.h"

#include "MonthInfo.h"

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

CResultTexts ResultTexts(const CSolarResult& result, const CCivilDate& date,
                         const std::optional<CCivilDate>& spellEnds) {
    CResultTexts texts;
    texts.full = FormatSolarTime(result);
    texts.shown = texts.full;
    texts.tooltip = texts.full;
    if (result.HasTime() || !spellEnds) {
        return texts;
    }
    const bool up = result.outcome == SolarOutcome::UpAllDay;
    const CCivilDate& end = *spellEnds;
    // "Jul 31": the month's first three letters, the year only when it is another.
    std::string when = g_Months[static_cast<std::size_t>(end.month - 1)].m_strName.substr(0, 3) +
                       ' ' + std::to_string(end.day);
    if (end.year != date.year) {
        when += ", " + std::to_string(end.year);
    }
    texts.shown = std::string(up ? "Sun up all day; sets " : "Sun down all day; rises ") + when;
    texts.tooltip += std::string(up ? "\nThe Sun next sets on " : "\nThe Sun next rises on ") +
                     DateText(end) + ".";
    return texts;
}
