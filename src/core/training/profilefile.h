// The profile file: a record count and the records, each 25 32-bit little-endian numbers (the
// answer times unsigned, the rest signed).
#pragma once

#include "core/training/profilerecord.h"

#include <QByteArray>

#include <vector>

constexpr qsizetype ProfileRecordBytes = 100;

struct ProfileFileContent {
    std::vector<ProfileRecord> records;
    // False when the file's size does not match its count: whatever was not whole is lost, so
    // the file is worth keeping before it is replaced.
    bool whole = true;
};

// Reads as many whole records as the count promises and the bytes hold; never allocates for
// more records than the bytes can carry.
ProfileFileContent parseProfileFile(const QByteArray& bytes);

QByteArray writeProfileFile(const std::vector<ProfileRecord>& records);
