#include "Cp1252.h"

#include "Windows1252.h"

namespace daybreak {

QString FromCp1252(std::string_view bytes) {
    return QString::fromStdString(Windows1252ToUtf8(bytes));
}

std::string ToCp1252(const QString& text) {
    return Utf16ToWindows1252(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                  static_cast<std::size_t>(text.size())));
}

}  // namespace daybreak
