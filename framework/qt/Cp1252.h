// The program keeps its narrow strings in Windows-1252, the code page of the place archives.
// Qt shows Unicode; these two functions convert at that edge.
//
// Windows-1252 differs from Latin-1 only in 0x80..0x9F. Its five unassigned bytes (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, so every byte string survives a
// round trip. A character Windows-1252 lacks becomes '?' on the way back.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace daybreak {

QString FromCp1252(std::string_view bytes);
std::string ToCp1252(const QString& text);

}  // namespace daybreak
