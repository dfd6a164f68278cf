// The bytes of a fuzz input given to a reader of a checksummed data file twice: as they come,
// and with their last four bytes replaced by the CRC-32 of the rest, so that the checks behind
// the checksum are reached too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "DataFile.h"

template <class Check>
void CheckAsTheyComeAndWithTheirCrc(const std::uint8_t* data, std::size_t size, Check check) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    check(bytes);
    if (bytes.size() >= 4) {
        bytes.resize(bytes.size() - 4);
        AppendLittleEndian(bytes, DataCrc32(bytes));
        check(std::move(bytes));
    }
}
