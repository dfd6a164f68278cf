#include "PlaceName.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

// The ASCII spelling of each Windows-1252 letter from 0xC0 on; "" for the two signs.
constexpr std::array<std::string_view, 64> kLatin1Letters = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",   // C0
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "ss",  // D0
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",   // E0
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y",   // F0
};

// The letters of 0x80 to 0xBF that occur in names.
std::string_view HighLetter(unsigned char c) {
    switch (c) {
        case 0x8A:
        case 0x9A:
            return "s";
        case 0x8C:
        case 0x9C:
            return "oe";
        case 0x8E:
        case 0x9E:
            return "z";
        case 0x9F:
            return "y";
        default:
            return {};
    }
}

std::string_view LongForm(std::string_view word) {
    if (word == "st")
        return "saint";
    if (word == "ste")
        return "sainte";
    if (word == "ft")
        return "fort";
    if (word == "mt")
        return "mount";
    return word;
}

}  // namespace

namespace {

// The letters of Latin Extended-A (U+0100 to U+017F) and Romanian's comma letters without
// their marks; "" for any other code point.
std::string_view ExtendedLetter(char32_t c) {
    struct Range {
        char32_t last;
        std::string_view letter;
    };
    static constexpr Range kRanges[] = {
        {0x105, "a"}, {0x10D, "c"},  {0x111, "d"}, {0x11B, "e"}, {0x123, "g"}, {0x127, "h"},
        {0x131, "i"}, {0x133, "ij"}, {0x135, "j"}, {0x138, "k"}, {0x142, "l"}, {0x14B, "n"},
        {0x151, "o"}, {0x153, "oe"}, {0x159, "r"}, {0x161, "s"}, {0x167, "t"}, {0x173, "u"},
        {0x175, "w"}, {0x178, "y"},  {0x17E, "z"}, {0x17F, "s"},
    };
    if (c == 0x218 || c == 0x219) {
        return "s";
    }
    if (c == 0x21A || c == 0x21B) {
        return "t";
    }
    if (c < 0x100 || c > 0x17F) {
        return {};
    }
    for (const Range& range : kRanges) {
        if (c <= range.last) {
            return range.letter;
        }
    }
    return {};
}

// One code point of UTF-8 from `text` at `i` (moved past it); a byte that starts no valid
// sequence is taken as itself.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    const std::size_t more = lead >= 0xF0 && lead < 0xF8 ? 3
                             : lead >= 0xE0              ? 2
                             : lead >= 0xC2              ? 1
                                                         : 0;
    if (lead < 0x80 || more == 0 || i + more > text.size()) {
        return lead;
    }
    char32_t c = lead & (0x3F >> more);
    for (std::size_t k = 0; k < more; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            return lead;
        }
        c = (c << 6) | (next & 0x3F);
    }
    i += more;
    return c;
}

// The folding of both encodings: `next` gives each character as a code point of Latin-1 or
// beyond (Windows-1252's letters of 0x80 to 0x9F are handed over as their own bytes).
template <typename Next>
std::string FoldName(std::string_view name, Next next) {
    std::string key;
    std::string word;
    const auto endWord = [&] {
        if (word.empty()) {
            return;
        }
        if (!key.empty()) {
            key += ' ';
        }
        key += LongForm(word);
        word.clear();
    };
    for (std::size_t i = 0; i < name.size();) {
        const char32_t c = next(name, i);
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')) {
            word += static_cast<char>(c);
        } else if (c >= 'A' && c <= 'Z') {
            word += static_cast<char>(c - 'A' + 'a');
        } else if (c >= 0x100) {
            // Latin Extended-A loses its marks; any other script is kept as written.
            if (const std::string_view letter = ExtendedLetter(c); !letter.empty()) {
                word += letter;
            } else if (c == 0x2019 || (c >= 0x300 && c < 0x370)) {
                continue;  // the typographic apostrophe; a combining mark
            } else if (c >= 0x180 && !(c >= 0x2000 && c < 0x2070) && c != 0x3000) {
                const std::size_t end = i;
                std::size_t start = end - 1;
                while (start > 0 && (static_cast<unsigned char>(name[start]) & 0xC0) == 0x80) {
                    --start;
                }
                word.append(name.substr(start, end - start));
            } else {
                endWord();
            }
        } else if (c >= 0xC0) {
            const std::string_view letter = kLatin1Letters[c - 0xC0];
            if (letter.empty()) {
                endWord();
            }
            word += letter;
        } else if (c == '\'' || c == '.' || c == 0x92) {  // 0x92: the typographic apostrophe
            continue;
        } else if (const std::string_view letter = HighLetter(static_cast<unsigned char>(c));
                   c < 0xA0 && !letter.empty()) {
            word += letter;
        } else {
            endWord();
        }
    }
    endWord();
    return key;
}

}  // namespace

std::string PlaceNameKey(std::string_view name) {
    return FoldName(name, [](std::string_view text, std::size_t& i) -> char32_t {
        return static_cast<unsigned char>(text[i++]);
    });
}

std::string PlaceNameKeyUtf8(std::string_view name) {
    return FoldName(name, [](std::string_view text, std::size_t& i) {
        const char32_t c = NextCodePoint(text, i);
        // Windows-1252's letters of 0x80 to 0x9F, met as code points, fold as their bytes do.
        switch (c) {
            case 0x160:
            case 0x161:
                return char32_t{0x8A};
            case 0x152:
            case 0x153:
                return char32_t{0x8C};
            case 0x17D:
            case 0x17E:
                return char32_t{0x8E};
            case 0x178:
                return char32_t{0x9F};
            default:
                return c;
        }
    });
}

std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit) {
    const std::size_t apart = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (apart > limit) {
        return limit + 1;
    }
    // One row of the usual table; a row whose best cell passes the limit ends the walk.
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        std::size_t best = row[0];
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
            best = std::min(best, row[j]);
        }
        if (best > limit) {
            return limit + 1;
        }
    }
    return std::min(row[b.size()], limit + 1);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [&lower](char a, char b) { return lower(a) == lower(b); });
}
