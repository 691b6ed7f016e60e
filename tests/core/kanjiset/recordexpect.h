// Test helpers: building kanji records, readable QString output and a field-by-field comparison
// of kanji records.
#pragma once

#include "core/kanjiset/kanjirecord.h"

#include <QString>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// A record with the fields most tests care about; the rest stay empty.
inline KanjiRecord makeKanji(qint32 idx1, qint32 unicode, const QString& onYomi = {},
                             qint32 jlpt = 0) {
    KanjiRecord record;
    record.Idx1 = idx1;
    record.Idx2 = jlpt;
    record.Unicode = unicode;
    record.OnYomi = onYomi;
    return record;
}

// Compares every field the set file stores; images and GenshiMeaning are not stored.
inline void expectSameStoredFields(const KanjiRecord& actual, const KanjiRecord& expected) {
    EXPECT_EQ(actual.Idx1, expected.Idx1);
    EXPECT_EQ(actual.Idx2, expected.Idx2);
    EXPECT_EQ(actual.Unicode, expected.Unicode);
    EXPECT_EQ(actual.Anim, expected.Anim);
    EXPECT_EQ(actual.OnYomi, expected.OnYomi);
    EXPECT_EQ(actual.KunYomi, expected.KunYomi);
    EXPECT_EQ(actual.Bemerkung, expected.Bemerkung);
    EXPECT_EQ(actual.Genshi, expected.Genshi);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing::Message() << "example " << i + 1);
        EXPECT_EQ(actual.Beispiel[i], expected.Beispiel[i]);
        EXPECT_EQ(actual.SoundFile[i], expected.SoundFile[i]);
    }
}

inline void expectSameRecords(const std::vector<KanjiRecord>& actual,
                              const std::vector<KanjiRecord>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "record " << i);
        expectSameStoredFields(actual[i], expected[i]);
    }
}
