// What every fuzz target needs: its input as bytes without a copy, and a rule check that stops
// the run where the fuzzer can report it.
#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

inline void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

inline QByteArray fuzzBytes(const uint8_t* data, size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}
