#include "GuideAnchors.h"

#include <map>

std::string HeadingAnchor(std::string_view heading) {
    std::string anchor;
    anchor.reserve(heading.size());
    for (const char c : heading) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '-' ||
            c == '_') {
            anchor += c;
        } else if (c >= 'A' && c <= 'Z') {
            anchor += static_cast<char>(c - 'A' + 'a');
        } else if (c == ' ') {
            anchor += '-';
        }
    }
    return anchor;
}

std::vector<std::string> HeadingAnchors(const std::vector<std::string>& headings) {
    std::vector<std::string> anchors;
    anchors.reserve(headings.size());
    std::map<std::string, int> seen;
    for (const std::string& heading : headings) {
        std::string anchor = HeadingAnchor(heading);
        const int earlier = seen[anchor]++;
        if (earlier > 0) {
            anchor += '-' + std::to_string(earlier);
        }
        anchors.push_back(std::move(anchor));
    }
    return anchors;
}
