// A note's field as a learner reads it.
#include "core/review/ankitext.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace {

constexpr qsizetype MaxEntity = 12;

bool isKana(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3041 && u <= 0x309F) || (u >= 0x30A0 && u <= 0x30FF) || u == 0x30FC ||
           (u >= 0xFF66 && u <= 0xFF9F);
}

// The tag's name in lower case: "<br/>" and "</DIV >" give "br" and "div".
QString tagName(QStringView tag) {
    qsizetype pos = 1;
    while (pos < tag.size() && (tag[pos] == u'/' || tag[pos].isSpace())) {
        ++pos;
    }
    qsizetype end = pos;
    while (end < tag.size() && tag[end].isLetterOrNumber()) {
        ++end;
    }
    return tag.sliced(pos, end - pos).toString().toLower();
}

// Tags that end a line in what the learner sees.
bool breaksLine(const QString& name) {
    static const QStringList names{
        QStringLiteral("br"), QStringLiteral("div"), QStringLiteral("p"),
        QStringLiteral("li"), QStringLiteral("tr"),  QStringLiteral("h1"),
        QStringLiteral("h2"), QStringLiteral("h3"),  QStringLiteral("h4")};
    return names.contains(name);
}

QString decodeEntity(QStringView entity) {
    if (entity.startsWith(u'#')) {
        bool ok = false;
        const uint code = entity.size() > 1 && (entity[1] == u'x' || entity[1] == u'X')
                              ? entity.mid(2).toUInt(&ok, 16)
                              : entity.mid(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return {};
        }
        const char32_t character = code == 0xA0 ? U' ' : static_cast<char32_t>(code);
        return QString::fromUcs4(&character, 1);
    }
    static const QHash<QString, QString> named{
        {QStringLiteral("nbsp"), QStringLiteral(" ")},
        {QStringLiteral("amp"), QStringLiteral("&")},
        {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},
        {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},
        {QStringLiteral("ensp"), QStringLiteral(" ")},
        {QStringLiteral("emsp"), QStringLiteral(" ")},
    };
    return named.value(entity.toString().toLower());
}

// Text with tags replaced by nothing or a line break, and script and style content dropped.
QString withoutTags(QStringView html) {
    QString text;
    text.reserve(html.size());
    qsizetype pos = 0;
    while (pos < html.size()) {
        const QChar c = html[pos];
        if (c != u'<') {
            text.append(c);
            ++pos;
            continue;
        }
        const qsizetype end = html.indexOf(u'>', pos);
        if (end < 0) {
            // A lone "<" is text, as a browser shows it.
            text.append(html.mid(pos));
            break;
        }
        const QStringView tag = html.sliced(pos, end - pos + 1);
        pos = end + 1;
        const QString name = tagName(tag);
        if (breaksLine(name)) {
            text.append(u'\n');
        } else if (!tag.startsWith(u"</") && (name == u"script" || name == u"style")) {
            // Their content is code, not text.
            const qsizetype close =
                html.indexOf(QStringLiteral("</") + name, pos, Qt::CaseInsensitive);
            pos = close < 0 ? html.size() : close;
        }
    }
    return text;
}

QString decodeEntities(QStringView text) {
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (text[pos] == u'&') {
            // Entities are short: the ";" is looked for near the "&" only, so a text of many
            // "&" without one stays linear.
            const qsizetype near =
                text.sliced(pos, std::min<qsizetype>(MaxEntity, text.size() - pos)).indexOf(u';');
            const qsizetype end = near < 0 ? -1 : pos + near;
            if (end > pos + 1) {
                const QString decoded = decodeEntity(text.sliced(pos + 1, end - pos - 1));
                if (!decoded.isEmpty()) {
                    out.append(decoded);
                    pos = end + 1;
                    continue;
                }
            }
        }
        out.append(text[pos] == QChar(0xA0) ? QChar(u' ') : text[pos]);
        ++pos;
    }
    return out;
}

// "漢字[かんじ]" → "漢字 (かんじ)": the base runs back to the last blank, as in Anki.
QString withFurigana(const QString& line) {
    QString out;
    qsizetype pos = 0;
    while (pos < line.size()) {
        const qsizetype open = line.indexOf(u'[', pos);
        const qsizetype close = open < 0 ? -1 : line.indexOf(u']', open);
        if (close < 0) {
            out.append(QStringView(line).mid(pos));
            break;
        }
        const QStringView reading = QStringView(line).sliced(open + 1, close - open - 1);
        const bool kana = !reading.isEmpty() && std::all_of(reading.begin(), reading.end(),
                                                            [](QChar c) { return isKana(c); });
        if (!kana || open == pos || line[open - 1].isSpace()) {
            out.append(QStringView(line).sliced(pos, close + 1 - pos));
            pos = close + 1;
            continue;
        }
        out.append(QStringView(line).sliced(pos, open - pos));
        out.append(u" (");
        out.append(reading);
        out.append(u')');
        pos = close + 1;
    }
    return out;
}

}  // namespace

AnkiFieldText cleanAnkiField(QStringView html) {
    static const QRegularExpression soundMark(QStringLiteral("\\[sound:([^\\]]*)\\]"));
    static const QRegularExpression blanks(QStringLiteral("[ \\t\\r\\f\\v]+"));
    AnkiFieldText field;
    const QStringList lines = decodeEntities(withoutTags(html)).split(u'\n');
    for (const QString& raw : lines) {
        QString line = raw;
        const qsizetype index = field.lines.size();
        const size_t soundsBefore = field.sounds.size();
        for (auto it = soundMark.globalMatch(line); it.hasNext();) {
            const QString name = it.next().captured(1).trimmed();
            if (!name.isEmpty()) {
                field.sounds.push_back({name, index});
            }
        }
        line.remove(soundMark);
        line = withFurigana(line.replace(blanks, QStringLiteral(" ")).trimmed());
        if (!line.isEmpty()) {
            field.lines.append(line);
            continue;
        }
        // A sound on a line of its own belongs to the line before, where the example is.
        for (size_t i = soundsBefore; i < field.sounds.size(); ++i) {
            field.sounds[i].line = std::max<qsizetype>(0, index - 1);
        }
    }
    return field;
}
