// Problem kanji, counted from the review log's answers.
#include "core/training/problemkanji.h"

#include <array>
#include <unordered_map>

namespace {

constexpr size_t KindCount = 4;

struct KindHistory {
    bool lastRight = false;
    int lapses = 0;
};

}  // namespace

std::unordered_set<qint32> problemKanji(const std::vector<ReviewEntry>& entries, int threshold) {
    std::unordered_map<qint32, std::array<KindHistory, KindCount>> histories;
    std::unordered_set<qint32> problems;
    for (const ReviewEntry& entry : entries) {
        const auto kind = static_cast<size_t>(entry.kind);
        if (entry.type != ReviewEntryType::Answer || kind >= KindCount) {
            continue;
        }
        KindHistory& history = histories[entry.code][kind];
        const bool right = entry.verdict == Grade::Right || entry.verdict == Grade::Easy;
        if (entry.verdict == Grade::Wrong && history.lastRight && ++history.lapses >= threshold) {
            problems.insert(entry.code);
        }
        history.lastRight = right;
    }
    return problems;
}
