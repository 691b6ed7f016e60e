// A note's field as a learner reads it: Anki keeps fields as HTML with its own furigana and
// sound markup.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

struct AnkiFieldText {
    // The lines of the field: tags removed, <br>, <div> and <p> as line breaks, entities
    // decoded, blanks collapsed, empty lines dropped.
    QStringList lines;
    // The [sound:name] references, in order, with the line each stood in.
    struct Sound {
        QString name;
        qsizetype line = 0;
    };
    std::vector<Sound> sounds;

    QString joined(QStringView separator) const { return lines.join(separator); }
};

// The field's text: tags, scripts and styles removed; "漢字[かんじ]" written "漢字 (かんじ)" when
// the brackets hold kana only, so English text in brackets is left alone; [sound:x] taken out.
AnkiFieldText cleanAnkiField(QStringView html);
