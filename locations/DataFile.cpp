#include "DataFile.h"

#include <zlib.h>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <algorithm>

#include "ErrorReporter.h"
#include "File.h"
#include "FileException.h"

std::string ReadDataFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                         std::string_view what, IErrorReporter& reporter) {
    std::string bytes;
    CFileException error;
    if (!CFile::ReadDataFile(path.string(), maxBytes, what, bytes, &error)) {
        reporter.ReportError(
            CDataFileNote(path.filename().string() + " cannot be read: " + error.GetReason()));
        return {};
    }
    return bytes;
}

CFileBytes MapDataFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                       std::string_view what, IErrorReporter& reporter) {
    CFileBytes bytes;
    CFileException error;
    if (!CFileBytes::MapDataFile(path.string(), maxBytes, what, bytes, &error)) {
        reporter.ReportError(
            CDataFileNote(path.filename().string() + " cannot be read: " + error.GetReason()));
    }
    return bytes;
}

namespace {

std::uint32_t ZlibCrc32(std::uint32_t crc, std::string_view bytes) {
    uLong value = crc;
    while (!bytes.empty()) {
        const auto chunk = static_cast<uInt>(std::min<std::size_t>(bytes.size(), 1u << 30));
        value = crc32(value, reinterpret_cast<const Bytef*>(bytes.data()), chunk);
        bytes.remove_prefix(chunk);
    }
    return static_cast<std::uint32_t>(value);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define DAYBREAK_CRC_FOLDING 1

// CRC-32 by carry-less multiplication: the bytes are folded 64 at a time into four 128-bit
// lanes, the lanes into one, and that one reduced to 32 bits (Barrett), after Gopal et al.,
// "Fast CRC Computation for Generic Polynomials Using PCLMULQDQ Instruction" (Intel, 2009).
// The constants are powers of x modulo the reflected polynomial 0x104C11DB7: the fold distances
// of 512+64 and 512 bits, of 128+64 and 128 bits, of 64 bits, then floor(x^64 / P) and P.
// `crc` is the running remainder (inverted, as zlib keeps it inside); `bytes` is a multiple of
// 16 bytes and at least 64.
// One lane moved `distance` further and the next 16 bytes added to it.
[[gnu::target("pclmul,sse4.1")]] __m128i Fold(__m128i lane, __m128i distance, __m128i next) {
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(lane, distance, 0x00),
                                       _mm_clmulepi64_si128(lane, distance, 0x11)),
                         next);
}

[[gnu::target("pclmul,sse4.1")]] std::uint32_t FoldCrc32(std::uint32_t crc,
                                                         std::string_view bytes) {
    const auto load = [&bytes](std::size_t at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at));
    };
    const __m128i by64 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
    const __m128i by16 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
    const __m128i by8 = _mm_set_epi64x(0, 0x0163cd6124);
    const __m128i barrett = _mm_set_epi64x(0x01f7011641, 0x01db710641);
    const __m128i low32 = _mm_setr_epi32(~0, 0, ~0, 0);

    __m128i a = _mm_xor_si128(load(0), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i b = load(16);
    __m128i c = load(32);
    __m128i d = load(48);
    std::size_t at = 64;
    for (; bytes.size() - at >= 64; at += 64) {
        a = Fold(a, by64, load(at));
        b = Fold(b, by64, load(at + 16));
        c = Fold(c, by64, load(at + 32));
        d = Fold(d, by64, load(at + 48));
    }
    a = Fold(a, by16, b);
    a = Fold(a, by16, c);
    a = Fold(a, by16, d);
    for (; bytes.size() - at >= 16; at += 16) {
        a = Fold(a, by16, load(at));
    }
    // 128 bits to 64, to 32 with the Barrett reduction.
    a = _mm_xor_si128(_mm_srli_si128(a, 8), _mm_clmulepi64_si128(a, by16, 0x10));
    a = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(a, low32), by8, 0x00),
                      _mm_srli_si128(a, 4));
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(a, low32), barrett, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), barrett, 0x00);
    return static_cast<std::uint32_t>(_mm_extract_epi32(_mm_xor_si128(a, t), 1));
}
#endif

}  // namespace

std::uint32_t DataCrc32(std::string_view bytes) {
    // The files are megabytes, checked at every start: folded by carry-less multiplication
    // where the processor has it (a tenth of the time), else zlib's, which reads several bytes
    // a step. Both give zlib's CRC-32.
#ifdef DAYBREAK_CRC_FOLDING
    static const bool folding =
        __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    if (folding && bytes.size() >= 64) {
        const std::size_t whole = bytes.size() & ~std::size_t{15};
        const std::uint32_t crc = ~FoldCrc32(~std::uint32_t{0}, bytes.substr(0, whole));
        return ZlibCrc32(crc, bytes.substr(whole));
    }
#endif
    return ZlibCrc32(0, bytes);
}

std::string DataFrameProblem(std::string_view bytes, std::string_view magic, std::uint16_t version,
                             std::string_view kind) {
    CDataCursor cursor(bytes);
    std::string_view found;
    std::uint16_t foundVersion = 0;
    std::uint16_t zero = 0;
    if (!cursor.Take(magic.size(), found) || found != magic) {
        return "not a " + std::string(kind);
    }
    if (!cursor.Read(foundVersion) || !cursor.Read(zero) || foundVersion != version || zero != 0) {
        return "version " + std::to_string(foundVersion) + ", not " + std::to_string(version);
    }
    std::uint32_t crc = 0;
    if (bytes.size() < cursor.Position() + 4 ||
        !CDataCursor(bytes.substr(bytes.size() - 4)).Read(crc) ||
        DataCrc32(bytes.substr(0, bytes.size() - 4)) != crc) {
        return "checksum";
    }
    return {};
}
