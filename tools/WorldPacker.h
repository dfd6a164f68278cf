// Packs the world's towns (data/world-places.tsv) into kWorldPlacesFileName.
//
// The list is UTF-8 text: a header line, then one town per line, eight tab-separated fields:
// name, ISO country code, country name, region name (may be empty), population, latitude,
// longitude (degrees, north and east positive) and IANA zone. A field count other than eight,
// a number that does not parse or lies off the globe, or a field the format refuses is an
// error that names the line; nothing is written unless the whole list is sound.
#pragma once

#include <filesystem>
#include <istream>
#include <vector>

#include "WorldPlaces.h"

// Reads the whole list, header included. Throws CPackError (PlacesPacker.h).
std::vector<CWorldPlaceEntry> ReadWorldPlaces(std::istream& in);

// Writes kWorldPlacesFileName into `directory`, under its final name only once it is complete.
void WriteWorldPlaces(const std::vector<CWorldPlaceEntry>& places,
                      const std::filesystem::path& directory);
