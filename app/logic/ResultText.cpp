#include "ResultText.h"

#include "DayText.h"
#include "MonthInfo.h"

std::string DateText(const CCivilDate& date) {
    CDayText text;
    text.LongDate(date);
    return text.String();
}

std::string ClockOnDate(const CSolarResult& result, const std::string& date) {
    if (!result.HasTime()) {
        return FormatSolarTime(result);
    }
    const std::string clock = ClockOf(result.time);
    const std::string day = DateText(result.time.date);
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
