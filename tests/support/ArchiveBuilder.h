// Builds archive bytes and files for the tests from records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
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

// The most that loading or searching one archive may add to a process's address space, and
// the number of empty records that fill an archive up to its ceiling.
inline constexpr std::uint64_t kLoadPeakBytes = 256ull << 20;
std::size_t WorstShapeRecords();

// In a child process (inside EXPECT_EXIT): limits the address space to what it holds now plus
// `growth` bytes, runs `body`, and exits 0 when it returns true, 1 when false, 3 when it ran
// out of memory.
[[noreturn]] void ExitAfterRunningWithin(std::uint64_t growth, const std::function<bool()>& body);

CTimeZone MakeRecord(std::string city, std::string zip, std::string county = "Hidalgo",
                     std::int32_t timeZone = 6);
Bytes Encode(const std::vector<CTimeZone>& records);
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
// `records` records whose seven strings are all empty: 27 zero bytes each, the smallest record
// and so the most list memory per byte of file.
void WriteEmptyRecords(const std::filesystem::path& path, std::size_t records);
