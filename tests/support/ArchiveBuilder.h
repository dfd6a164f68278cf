// Builds archive bytes and files for the tests from records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "TimeZone.h"

using Bytes = std::vector<std::uint8_t>;

// AddressSanitizer reserves terabytes of shadow memory, which defeats any address-space limit.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

CTimeZone MakeRecord(std::string city, std::string zip, std::string county = "Hidalgo",
                     std::int32_t timeZone = 6);
Bytes Encode(const std::vector<CTimeZone>& records);
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
// `records` records whose seven strings are all empty: 27 zero bytes each, the smallest record
// and so the most list memory per byte of file.
void WriteEmptyRecords(const std::filesystem::path& path, std::size_t records);
