#include "CellCompare.h"

#include <QDateTime>
#include <QStringList>

#include "Cp1252.h"

#include <locale.h>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>

namespace daybreak {

namespace {

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// strtod in the C locale whatever the process locale is: the cells use "." as decimal point.
double StrtodC(const char* text, char** end) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text, end, cLocale);
}

}  // namespace

std::optional<std::uint32_t> ParseHexCell(const std::string& text) {
    const std::size_t size = text.size();
    std::size_t pos = 0;
    while (pos < size && IsCSpace(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < size && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // "0x" counts as a prefix only when a hex digit follows; otherwise the "0" is the number
    // and the "x" is left over.
    if (pos + 2 < size && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
        HexDigit(text[pos + 2]) >= 0) {
        pos += 2;
    }
    const std::size_t firstDigit = pos;
    std::uint64_t value = 0;
    bool overflow = false;
    while (pos < size && HexDigit(text[pos]) >= 0) {
        if (!overflow) {
            value = value * 16 + static_cast<unsigned>(HexDigit(text[pos]));
            overflow = value > 0xFFFFFFFFull;
        }
        ++pos;
    }
    if (pos == firstDigit || pos != size) {
        return std::nullopt;
    }
    if (overflow) {
        return 0xFFFFFFFFu;
    }
    auto result = static_cast<std::uint32_t>(value);
    return negative ? static_cast<std::uint32_t>(0u - result) : result;
}

std::optional<double> ParseDecimalCell(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = StrtodC(begin, &end);
    const char* last = begin + text.size();
    if (end == last || (*end == '%' && end + 1 == last)) {
        return value;
    }
    return std::nullopt;
}

std::optional<double> ParseCellDate(const QString& text) {
    static const QStringList kDateTimeFormats = {
        QStringLiteral("yyyy-MM-ddTHH:mm:ss"), QStringLiteral("yyyy-MM-ddTHH:mm"),
        QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-dd HH:mm"),
        QStringLiteral("M/d/yyyy h:mm:ss AP"), QStringLiteral("M/d/yyyy h:mm AP"),
        QStringLiteral("M/d/yyyy H:mm:ss"),    QStringLiteral("M/d/yyyy H:mm"),
    };
    static const QStringList kDateFormats = {
        QStringLiteral("yyyy-MM-dd"),   QStringLiteral("M/d/yyyy"),
        QStringLiteral("MMMM d, yyyy"), QStringLiteral("MMM d, yyyy"),
        QStringLiteral("d MMMM yyyy"),  QStringLiteral("d MMM yyyy"),
    };
    static const QStringList kTimeFormats = {
        QStringLiteral("H:mm:ss"),
        QStringLiteral("H:mm"),
        QStringLiteral("h:mm:ss AP"),
        QStringLiteral("h:mm AP"),
    };
    static const QDate kEpoch(1899, 12, 30);
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    auto value = [](const QDate& date, const QTime& time) {
        return static_cast<double>(kEpoch.daysTo(date)) + time.msecsSinceStartOfDay() / 86400000.0;
    };
    for (const QString& format : kDateTimeFormats) {
        const QDateTime dt = QDateTime::fromString(trimmed, format);
        if (dt.isValid()) {
            return value(dt.date(), dt.time());
        }
    }
    for (const QString& format : kDateFormats) {
        const QDate date = QDate::fromString(trimmed, format);
        if (date.isValid()) {
            return value(date, QTime(0, 0));
        }
    }
    // A time alone falls on day 0.
    for (const QString& format : kTimeFormats) {
        const QTime time = QTime::fromString(trimmed, format);
        if (time.isValid()) {
            return value(kEpoch, time);
        }
    }
    return std::nullopt;
}

CCellKey::CCellKey(const QString& text) : m_text(text), m_bytes(ToCp1252(text)) {
    // The number rules apply to non-empty texts only.
    if (!m_bytes.empty()) {
        m_hex = ParseHexCell(m_bytes);
        m_decimal = ParseDecimalCell(m_bytes);
    }
}

const std::optional<double>& CCellKey::Date() const {
    if (!m_date) {
        m_date = ParseCellDate(m_text);
    }
    return *m_date;
}

int CompareCellKeys(const CCellKey& a, const CCellKey& b) {
    if (a.m_hex && b.m_hex) {
        return (*a.m_hex > *b.m_hex) - (*a.m_hex < *b.m_hex);
    }
    if (a.m_decimal && b.m_decimal) {
        return *a.m_decimal < *b.m_decimal ? -1 : (*a.m_decimal > *b.m_decimal ? 1 : 0);
    }
    const auto& dateA = a.Date();
    const auto& dateB = dateA ? b.Date() : dateA;
    if (dateA && dateB) {
        return *dateA < *dateB ? -1 : (*dateA > *dateB ? 1 : 0);
    }
    // Bytes compare as unsigned values, as the multibyte comparison of single-byte text does.
    const std::string& bytesA = a.m_bytes;
    const std::string& bytesB = b.m_bytes;
    const std::size_t common = std::min(bytesA.size(), bytesB.size());
    const int prefix = common == 0 ? 0 : std::memcmp(bytesA.data(), bytesB.data(), common);
    if (prefix != 0) {
        return Sign(prefix);
    }
    return (bytesA.size() > bytesB.size()) - (bytesA.size() < bytesB.size());
}

int CompareCellTexts(const QString& a, const QString& b) {
    return CompareCellKeys(CCellKey(a), CCellKey(b));
}

}  // namespace daybreak
