// The program keeps its narrow strings in Windows-1252, the code page of the place archives.
// Qt shows Unicode; these two functions convert at that edge.
//
// Every byte string survives a round trip (the five bytes the code page leaves undefined map to
// the C1 controls of the same value). A character Windows-1252 lacks becomes '?' on the way
// back, one '?' per character.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace daybreak {

QString FromCp1252(std::string_view bytes);
std::string ToCp1252(const QString& text);

}  // namespace daybreak
