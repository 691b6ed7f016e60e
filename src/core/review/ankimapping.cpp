// Which field of an Anki note type goes where, and which answer kind each template asks.
#include "core/review/ankimapping.h"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Lower case without blanks, dashes, underscores or apostrophes: "On'yomi" and "on yomi" alike.
QString plainName(const QString& name) {
    QString plain;
    for (const QChar c : name.toLower()) {
        if (!c.isSpace() && c != u'-' && c != u'_' && c != u'\'' && c != u'’') {
            plain.append(c);
        }
    }
    return plain;
}

const std::array<QStringList, AnkiTargetCount>& namesOfTargets() {
    static const std::array<QStringList, AnkiTargetCount> names{
        QStringList{u"kanji"_s, u"漢字"_s, u"front"_s, u"character"_s},
        QStringList{u"on"_s, u"onyomi"_s, u"音読み"_s},
        QStringList{u"kun"_s, u"kunyomi"_s, u"訓読み"_s},
        QStringList{u"meaning"_s, u"meanings"_s, u"bedeutung"_s, u"english"_s, u"back"_s,
                    u"keyword"_s},
        QStringList{u"example"_s, u"examples"_s, u"vocab"_s, u"beispiele"_s},
    };
    return names;
}

bool mentionsField(const QString& format, const QString& field) {
    if (field.isEmpty()) {
        return false;
    }
    // {{Field}}, {{furigana:Field}}, {{text:Field}} ...; not {{#Field}} or {{^Field}} alone.
    const QRegularExpression reference(u"\\{\\{(?:[^{}#^/]*:)?\\s*"_s +
                                       QRegularExpression::escape(field) + u"\\s*\\}\\}"_s);
    return reference.match(format).hasMatch();
}

}  // namespace

AnkiFieldMap guessFieldMap(const QStringList& fieldNames) {
    AnkiFieldMap map;
    map.fill(-1);
    for (qsizetype i = 0; i < fieldNames.size(); ++i) {
        const QString plain = plainName(fieldNames[i]);
        for (size_t target = 0; target < map.size(); ++target) {
            if (map[target] < 0 && namesOfTargets()[target].contains(plain)) {
                map[target] = static_cast<int>(i);
                break;
            }
        }
    }
    return map;
}

AnkiAnswerKind guessAnswerKind(const AnkiTemplate& cardTemplate, const QStringList& fieldNames,
                               const AnkiFieldMap& map) {
    static const QRegularExpression kun(u"kun|訓"_s, QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression on(u"\\bon\\b|on'?yomi|音"_s,
                                       QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression writing(u"writ|schreib|recall|production|書"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression meaning(u"meaning|bedeutung|recogni|意味"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    const QString& name = cardTemplate.name;
    if (kun.match(name).hasMatch()) {
        return AnkiAnswerKind::Kun;
    }
    if (on.match(name).hasMatch()) {
        return AnkiAnswerKind::On;
    }
    if (writing.match(name).hasMatch()) {
        return AnkiAnswerKind::Writing;
    }
    if (meaning.match(name).hasMatch()) {
        return AnkiAnswerKind::Meaning;
    }
    const auto shown = [&](AnkiTarget target) {
        const int field = fieldFor(map, target);
        return field >= 0 && field < fieldNames.size() &&
               mentionsField(cardTemplate.question, fieldNames[field]);
    };
    if (!shown(AnkiTarget::Kanji) && shown(AnkiTarget::Meaning)) {
        return AnkiAnswerKind::Writing;
    }
    return AnkiAnswerKind::Meaning;
}

std::optional<AnswerKind> profileKindOf(AnkiAnswerKind kind) {
    switch (kind) {
        case AnkiAnswerKind::Meaning:
            return AnswerKind::Meaning;
        case AnkiAnswerKind::On:
            return AnswerKind::On;
        case AnkiAnswerKind::Kun:
            return AnswerKind::Kun;
        case AnkiAnswerKind::Writing:
            return AnswerKind::Kanji;
        case AnkiAnswerKind::Skip:
            break;
    }
    return std::nullopt;
}
