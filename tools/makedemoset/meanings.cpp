// Choosing a kanji's German meanings among its dictionary entries and the Genshi list.
#include "meanings.h"

#include <optional>

namespace {

constexpr int kMeaningCount = 3;

struct Candidate {
    GermanEntry entry;
    WordPriority priority;
    MeaningSource source = MeaningSource::Word;
};

// The best entry with at least one gloss among those written as `form`.
std::optional<Candidate> bestEntry(const QString& form, MeaningSource source,
                                   const GermanDictionary& dictionary) {
    for (GermanEntry& entry : dictionary.entriesOf(form)) {
        if (!entry.senses.empty()) {
            const WordPriority priority = entry.priorityOf(form);
            return Candidate{std::move(entry), priority, source};
        }
    }
    return std::nullopt;
}

// KANJIDIC writes okurigana after a "." (た.べる); "-" marks a prefix or suffix reading.
std::optional<QString> okuriganaForm(const QString& kanji, QString reading) {
    reading.remove(u'-');
    const qsizetype dot = reading.indexOf(u'.');
    if (dot < 0 || dot + 1 >= reading.size()) {
        return std::nullopt;
    }
    return kanji + reading.sliced(dot + 1);
}

}  // namespace

GermanMeanings germanMeaningsOf(const KanjidicEntry& kanji, const GermanDictionary& dictionary,
                                const std::vector<GenshiEntry>& genshi) {
    const QString character = QString::fromUcs4(&kanji.codePoint, 1);
    std::optional<Candidate> best = bestEntry(character, MeaningSource::Word, dictionary);
    for (const QString& reading : kanji.kunReadings) {
        const std::optional<QString> form = okuriganaForm(character, reading);
        if (!form) {
            continue;
        }
        std::optional<Candidate> candidate = bestEntry(*form, MeaningSource::Okurigana, dictionary);
        if (candidate && (!best || candidate->priority.before(best->priority))) {
            best = std::move(candidate);
        }
    }
    if (best) {
        return {firstMeanings(best->entry, kMeaningCount), best->source};
    }
    for (const GenshiEntry& radical : genshi) {
        if (radical.Genshi == character && !radical.Bedeutung.trimmed().isEmpty()) {
            QStringList meanings;
            for (const QString& part : radical.Bedeutung.split(u'/', Qt::SkipEmptyParts)) {
                if (meanings.size() < kMeaningCount && !part.trimmed().isEmpty()) {
                    meanings.append(part.trimmed());
                }
            }
            return {meanings, MeaningSource::Genshi};
        }
    }
    return {};
}

QString bemerkungOf(const QStringList& german, const QStringList& english) {
    if (german.isEmpty()) {
        return english.join(u", "_qs);
    }
    if (english.isEmpty()) {
        return german.join(u", "_qs);
    }
    return german.join(u", "_qs) + u"; "_qs + english.join(u", "_qs);
}
