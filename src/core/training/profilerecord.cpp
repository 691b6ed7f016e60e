// The learning profile in memory: per-kanji answer counters keyed by the kanji's code.
#include "core/training/profilerecord.h"

#include <algorithm>

bool findProfileRecord(ProfileList& list, qint32 code) {
    const auto found =
        std::find_if(list.records.begin(), list.records.end(),
                     [code](const ProfileRecord& record) { return record.Code == code; });
    if (found == list.records.end()) {
        return false;
    }
    list.current = static_cast<int>(found - list.records.begin());
    return true;
}
