// Which field of an Anki note type goes where in a kanji record, and which answer kind each of
// its card templates asks: guessed from the names, before the learner changes anything.
#pragma once

#include "core/review/ankicollection.h"
#include "core/training/profilerecord.h"

#include <QStringList>

#include <array>
#include <optional>

// The parts of a kanji record a note can fill, in the order the wizard shows them.
enum class AnkiTarget { Kanji = 0, On, Kun, Meaning, Examples };
inline constexpr int AnkiTargetCount = 5;

// The field index for each target, -1 for none.
using AnkiFieldMap = std::array<int, AnkiTargetCount>;

inline int fieldFor(const AnkiFieldMap& map, AnkiTarget target) {
    return map[static_cast<size_t>(target)];
}

// By name, case and blanks aside: Kanji/漢字/Front/Character → Kanji, On/Onyomi/音読み → On,
// Kun/Kunyomi/訓読み → Kun, Meaning/Bedeutung/English/Back/Keyword → meaning,
// Example(s)/Vocab → examples. Each target takes the first field that fits it.
AnkiFieldMap guessFieldMap(const QStringList& fieldNames);

// What a card template asks, in the order the wizard's choice offers them.
enum class AnkiAnswerKind { Meaning = 0, On, Kun, Writing, Skip };
inline constexpr int AnkiAnswerKindCount = 5;

// From the template's name first ("Kun", "Writing", "Recognition" ...), then from its question
// side: a question that shows the kanji asks its meaning, one that shows the meaning and not the
// kanji asks to write it.
AnkiAnswerKind guessAnswerKind(const AnkiTemplate& cardTemplate, const QStringList& fieldNames,
                               const AnkiFieldMap& map);

// The profile's kind of answer; nothing for Skip.
std::optional<AnswerKind> profileKindOf(AnkiAnswerKind kind);
