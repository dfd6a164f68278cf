// The anchors of a Markdown document's headings, as the document's own links name them:
// "## Find Place (Ctrl+F)" is reached by "#find-place-ctrlf". Lower case; letters, digits,
// '-' and '_' kept (bytes of other scripts too); spaces become '-'; everything else goes. A
// heading whose anchor was taken earlier gets "-1", "-2", ... in order, so that every heading
// of a long guide can be linked.
#pragma once

#include <string>
#include <string_view>
#include <vector>

std::string HeadingAnchor(std::string_view heading);

// The anchors of the headings in document order, with the numbers that keep them apart.
std::vector<std::string> HeadingAnchors(const std::vector<std::string>& headings);
