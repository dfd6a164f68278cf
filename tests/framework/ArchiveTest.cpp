#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "Archive.h"
#include "MemFile.h"
#include "Object.h"

// The replacement pair below is malloc/free underneath; GCC cannot see that once it inlines.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// The largest single allocation since the last reset, to prove that a length prefix cannot
// make the reader allocate what the data does not hold.
static std::size_t g_largestAllocation = 0;

void* operator new(std::size_t size) {
    if (size > g_largestAllocation) {
        g_largestAllocation = size;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using Bytes = std::vector<std::uint8_t>;

template <typename Fn>
Bytes Store(Fn&& write) {
    CMemFile sink;
    CArchive ar(&sink, CArchive::store);
    write(ar);
    ar.Close();
    auto data = sink.GetBuffer();
    return Bytes(data.begin(), data.end());
}

std::string LoadString(const Bytes& bytes) {
    CMemFile source(bytes);
    CArchive ar(&source, CArchive::load);
    std::string value;
    ar >> value;
    return value;
}

CArchiveException::Cause LoadStringFailure(const Bytes& bytes) {
    CMemFile source(bytes);
    CArchive ar(&source, CArchive::load);
    std::string value;
    try {
        ar >> value;
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return CArchiveException::none;
}

}  // namespace

TEST(Archive, StringPrefixFormsRoundTrip) {
    struct Row {
        std::size_t length;
        Bytes prefix;
    };
    const Row rows[] = {
        {0, {0x00}},
        {7, {0x07}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.length);
        std::string text(row.length, 'x');
        if (!text.empty()) {
            text.front() = '\0';  // a zero byte is part of the string, not its end
            text.back() = 'z';
        }
        Bytes bytes = Store([&](CArchive& ar) { ar << text; });
        ASSERT_EQ(bytes.size(), row.prefix.size() + row.length);
        EXPECT_EQ(
            Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(row.prefix.size())),
            row.prefix);
        EXPECT_EQ(LoadString(bytes), text);
    }
}

TEST(Archive, WideStringsReadAsWindows1252) {
    struct Row {
        const char* name;
        Bytes bytes;
        std::string expected;
    };
    const Row rows[] = {
        {"one-byte prefix", {0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 0xE9, 0x00, 0xAC, 0x20}, "a\xE9\x80"},
        {"missing character", {0xFF, 0xFE, 0xFF, 0x02, 0x2D, 0x4E, 'b', 0}, "?b"},
        {"surrogate pair is one character",
         {0xFF, 0xFE, 0xFF, 0x03, 0x3D, 0xD8, 0x00, 0xDE, 'c', 0},
         "?c"},
        {"unpaired surrogate", {0xFF, 0xFE, 0xFF, 0x01, 0x00, 0xDC}, "?"},
        {"16-bit prefix", {0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x00, 'd', 0}, "d"},
        {"empty", {0xFF, 0xFE, 0xFF, 0x00}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(LoadString(row.bytes), row.expected);
    }
    Bytes written = Store([](CArchive& ar) { ar.WriteWideString(u"h\u00e9"); });
    EXPECT_EQ(written, (Bytes{0xFF, 0xFE, 0xFF, 0x02, 'h', 0, 0xE9, 0}));
}

TEST(Archive, ShortOrLyingDataEndsWithoutHugeAllocation) {
    const Bytes rows[] = {
        {},                                               // no prefix at all
        {0x05, 'a', 'b'},                                 // characters cut off
        {0xFF, 0x10},                                     // 16-bit length cut off
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'},  // claims 2 GiB
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,        // 64-bit length, 2^64 - 1
         0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
        {0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b'},                         // wide characters cut off
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},  // wide, 2^32-1 units
    };
    for (const Bytes& bytes : rows) {
        SCOPED_TRACE(bytes.size());
        g_largestAllocation = 0;
        EXPECT_EQ(LoadStringFailure(bytes), CArchiveException::endOfFile);
        EXPECT_LT(g_largestAllocation, 4096u + 1024u);  // the archive's buffer, no more
    }
}

TEST(Archive, RawValuesAreLittleEndianAndUnaligned) {
    Bytes bytes = Store([](CArchive& ar) {
        ar << std::uint8_t{1} << std::int32_t{-10} << 26.21466 << std::uint16_t{0x1234};
    });
    EXPECT_EQ(bytes, (Bytes{0x01, 0xF6, 0xFF, 0xFF, 0xFF, 0x65, 0xC2, 0x2F, 0xF5, 0xF3, 0x36, 0x3A,
                            0x40, 0x34, 0x12}));
    CMemFile source(bytes);
    CArchive ar(&source, CArchive::load);
    std::uint8_t b;
    std::int32_t i;
    double d;
    std::uint16_t w;
    ar >> b >> i >> d >> w;
    EXPECT_EQ(i, -10);
    EXPECT_EQ(d, 26.21466);
    EXPECT_EQ(w, 0x1234);
    EXPECT_TRUE(ar.IsAtEnd());
    EXPECT_THROW(ar >> b, CArchiveException);
}

TEST(Archive, DataLargerThanTheBufferCrossesRefills) {
    std::vector<std::string> texts;
    for (int i = 0; i < 300; ++i) {
        texts.push_back(std::string(static_cast<std::size_t>(i * 7 % 400), static_cast<char>(i)));
    }
    texts.push_back(std::string(10000, 'L'));
    Bytes bytes = Store([&](CArchive& ar) {
        for (const auto& t : texts) {
            ar << t << std::int32_t{-1};
        }
    });
    CMemFile source(bytes);
    CArchive ar(&source, CArchive::load);
    for (const auto& t : texts) {
        std::string read;
        std::int32_t marker = 0;
        ar >> read >> marker;
        ASSERT_EQ(read, t);
        ASSERT_EQ(marker, -1);
    }
    EXPECT_EQ(ar.GetBytesRemaining(), 0u);
}

TEST(Archive, WrongDirectionRaisesItsOwnCause) {
    CMemFile sink;
    CArchive storing(&sink, CArchive::store);
    std::int32_t value = 0;
    try {
        storing >> value;
        FAIL() << "read through a storing archive";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::writeOnly);
    }
    const Bytes bytes{1, 2, 3, 4};
    CMemFile source(bytes, "/data/timezone.arc.TX");
    CArchive loading(&source, CArchive::load);
    try {
        loading << value;
        FAIL() << "write through a loading archive";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::readOnly);
        EXPECT_EQ(e.GetErrorMessage(),
                  "Attempt to write to an archive opened for reading in archive "
                  "/data/timezone.arc.TX.");
    }
    EXPECT_EQ(CArchiveException(CArchiveException::endOfFile).GetErrorMessage(),
              "Unexpected end of data.");
}

namespace {

class CSample : public CObject {
    DECLARE_SERIAL(CSample)
public:
    int m_value = 42;
};

IMPLEMENT_SERIAL(CSample, CObject, 3)

}  // namespace

TEST(RuntimeClass, RegisteredByNameWithSchema) {
    const CRuntimeClass* cls = CRuntimeClass::FromName("CSample");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls, RUNTIME_CLASS(CSample));
    EXPECT_EQ(cls->m_wSchema, 3u);
    EXPECT_TRUE(cls->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    std::unique_ptr<CObject> made = cls->CreateObject();
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CSample)));
    EXPECT_TRUE(made->IsSerializable());
    EXPECT_EQ(static_cast<CSample*>(made.get())->m_value, 42);
    EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
    EXPECT_FALSE(RUNTIME_CLASS(CObject)->IsSerializable());
}
