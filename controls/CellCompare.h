// How the report list orders two cell texts. Each pair is compared by the first of four rules
// that both texts satisfy, so one column may mix rules from pair to pair:
//   1. hexadecimal integers, read the way C's strtoul reads base 16 into 32 bits (leading
//      white space, a sign, an optional 0x prefix; saturation at 0xFFFFFFFF; a minus sign
//      negates modulo 2^32, so "-1" is 0xFFFFFFFF) and consuming the whole text;
//   2. decimal numbers, read the way strtod reads them in the C locale, where the text may end
//      in one "%" (a lone "%" is the number 0);
//   3. dates and times (ParseCellDate);
//   4. text, byte by byte in Windows-1252.
// Rules 1 and 2 need both texts non-empty. The result is only a sign: -1, 0 or 1.
//
// The relation is not transitive across rules ("-1" > "1" by rule 1, "-1" < "1.5" by rule 2),
// so the list sorts with a procedure that tolerates that, never with std::sort.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace daybreak {

// The value when strtoul(text, &end, 16) would consume all of text, else nothing.
std::optional<std::uint32_t> ParseHexCell(const std::string& text);
// The value when strtod stops at the end of text or at a "%" that ends it, else nothing.
std::optional<double> ParseDecimalCell(const std::string& text);
// Days since 1899-12-30 00:00, the time of day as the fraction, counted linearly (so earlier
// instants are always smaller, also before 1899). Nothing when the text is no date or time.
std::optional<double> ParseCellDate(const QString& text);

// A cell text read once for every rule, so that sorting a column parses each cell once rather
// than at every comparison. The date, the costliest reading, is taken only when a comparison
// reaches its rule.
class CCellKey {
public:
    explicit CCellKey(const QString& text);

private:
    friend int CompareCellKeys(const CCellKey& a, const CCellKey& b);
    const std::optional<double>& Date() const;

    QString m_text;
    std::string m_bytes;  // Windows-1252
    std::optional<std::uint32_t> m_hex;
    std::optional<double> m_decimal;
    mutable std::optional<std::optional<double>> m_date;
};

int CompareCellKeys(const CCellKey& a, const CCellKey& b);
int CompareCellTexts(const QString& a, const QString& b);

}  // namespace daybreak
