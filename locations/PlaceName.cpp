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

std::string PlaceNameKey(std::string_view name) {
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
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')) {
            word += ch;
        } else if (c >= 'A' && c <= 'Z') {
            word += static_cast<char>(c - 'A' + 'a');
        } else if (c >= 0xC0) {
            const std::string_view letter = kLatin1Letters[c - 0xC0];
            if (letter.empty()) {
                endWord();
            }
            word += letter;
        } else if (c == '\'' || c == '.' || c == 0x92) {  // 0x92: the typographic apostrophe
            continue;
        } else if (const std::string_view letter = HighLetter(c); !letter.empty()) {
            word += letter;
        } else {
            endWord();
        }
    }
    endWord();
    return key;
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
