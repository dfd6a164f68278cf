// How a typed place name meets the archives' names: both are folded to one search key, so that
// case, accents, punctuation and spacing do not matter, and the common abbreviations of a
// name's words meet their long forms:
//
//     PlaceNameKey("A\xF1" "asco") == "anasco"          (Windows-1252 n with tilde)
//     PlaceNameKey("St. Louis")    == "saint louis" == PlaceNameKey("saint  LOUIS")
//     PlaceNameKey("O'Fallon")     == "ofallon";   PlaceNameKey("Winston-Salem") == "winston salem"
//
// Texts are Windows-1252 bytes, as the archives hold them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Letters folded to lower-case ASCII, accents dropped (ß to "ss", æ to "ae"), apostrophes and
// periods dropped, every other non-alphanumeric byte a word break; words joined by one space,
// with "st", "ste", "ft" and "mt" written out ("saint", "sainte", "fort", "mount").
std::string PlaceNameKey(std::string_view name);
// The same key of a UTF-8 name (the world's towns, a typed name): Latin letters fold as above,
// with the marks of Latin Extended-A dropped too; letters of other scripts are kept as written.
std::string PlaceNameKeyUtf8(std::string_view name);

// The number of single-byte insertions, deletions and substitutions that turn `a` into `b`,
// or `limit` + 1 when it is more than `limit` (which keeps a pass over every name cheap).
std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit);

// Whether `text` starts with `prefix` when the ASCII letters of both are taken in one case, as
// the window's list fields complete a typed text and as a typed state name is read: "tex" starts
// "Texas", "ALA" starts "Alabama - 36101". Other bytes compare as they are.
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);
// The same for the whole text: "tx" equals "TX".
inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithIgnoringCase(a, b);
}
