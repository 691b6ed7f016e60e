// Reading FreeDict's dictd files: the index of headwords and the entry text they point into.
#include "freedict.h"

#include "common/gunzip.h"

#include "base/files.h"
#include "core/training/romaji.h"

#include <QRegularExpression>
#include <QStringView>

#include <algorithm>

namespace {

// The .dict.dz inflates to about 30 MB and the .index is about 5 MB; the bounds only stop a
// wrong path from eating memory.
constexpr qsizetype kMaxDictBytes = qsizetype(256) << 20;
constexpr qint64 kMaxInputBytes = qint64(64) << 20;
constexpr int kSensesUsed = 3;

// JMdict's usage notes as FreeDict writes them, glued to the glosses that follow.
const QRegularExpression& leadingNote() {
    static const QRegularExpression note(
        u"^\\s*Note:\\s*(?:word usually written using kana alone|abbreviation|archaism|"
        "children's language|colloquialism|derogatory|familiar language|"
        "female term or language|honorific or respectful \\(sonkeigo\\) language|"
        "humble \\(kenjougo\\) language|idiomatic expression|jocular, humorous term|"
        "male term or language|obscure term|obsolete term|onomatopoeic or mimetic word|"
        "poetical term|polite \\(teineigo\\) language|proverb|sensitive|slang|"
        "vulgar expression or word|yojijukugo|rare term|manga slang|"
        "rude or X-rated term \\(not displayed in educational software\\))"_qs);
    return note;
}

const QRegularExpression& leadingCrossReference() {
    static const QRegularExpression reference(u"^\\s*\\{[^}]*\\}"_qs);
    return reference;
}

const QRegularExpression& senseNumber() {
    static const QRegularExpression number(u"\\(\\d+\\)"_qs);
    return number;
}

const QRegularExpression& genderMark() {
    static const QRegularExpression mark(u"\\((?:[fmn]{1,3}|pl)\\)"_qs);
    return mark;
}

const QRegularExpression& innermostRemark() {
    static const QRegularExpression remark(u"\\([^()]*\\)|\\[[^\\[\\]]*\\]"_qs);
    return remark;
}

const QRegularExpression& priorityMark() {
    static const QRegularExpression mark(u"\\[([a-z]+)(\\d+)\\]"_qs);
    return mark;
}

// Splits at `separator` outside brackets of any kind and the pronunciation's slashes.
QStringList splitOutside(QStringView text, QChar separator, bool slashes) {
    QStringList parts;
    int depth = 0;
    bool inSlashes = false;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (slashes && c == u'/') {
            inSlashes = !inSlashes;
        } else if (c == u'(' || c == u'[' || c == u'{') {
            ++depth;
        } else if (c == u')' || c == u']' || c == u'}') {
            depth = std::max(0, depth - 1);
        } else if (c == separator && depth == 0 && !inSlashes) {
            parts.append(text.sliced(begin, i - begin).toString());
            begin = i + 1;
        }
    }
    parts.append(text.sliced(begin).toString());
    return parts;
}

QString hiraganaOf(const QString& kana) {
    QString folded = kana;
    for (QChar& c : folded) {
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6) {
            c = QChar(c.unicode() - 0x60);
        }
    }
    return folded;
}

// "Naka", "Ikiru – Einmal wirklich leben": a gloss that begins with the word's own reading in
// romaji names a person, place or title rather than saying what the word means.
bool spellsReading(const QString& gloss, const QStringList& readings) {
    const QString first = gloss.section(u' ', 0, 0).toLower();
    std::u32string prepared;
    const QList<uint> units = first.toUcs4();
    if (!prepareRomaji(std::u32string_view(reinterpret_cast<const char32_t*>(units.constData()),
                                           static_cast<size_t>(units.size())),
                       prepared)) {
        return false;
    }
    return std::any_of(readings.begin(), readings.end(), [&](const QString& reading) {
        const QList<uint> kana = hiraganaOf(reading).toUcs4();
        return romajiSpells(prepared,
                            std::u32string_view(reinterpret_cast<const char32_t*>(kana.constData()),
                                                static_cast<size_t>(kana.size())));
    });
}

bool isKanaOnly(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x3041 && c.unicode() <= 0x30FF) || c == u'ー';
    });
}

WordPriority priorityIn(const QString& piece) {
    WordPriority priority;
    for (const QRegularExpressionMatch& mark : priorityMark().globalMatch(piece)) {
        const QString name = mark.captured(1);
        const int value = mark.captured(2).toInt();
        // The marks as the dictionary writes them: "ichi1" is the commonest list, "news1" and
        // "spec1" the other lists of common words, "nf01" to "nf48" ranks by frequency.
        const QString written = name + mark.captured(2);
        if (written == u"ichi1"_qs) {
            priority.ichi = true;
        } else if (written == u"news1"_qs || written == u"spec1"_qs) {
            priority.common = true;
        } else if (name == u"nf"_qs && value > 0) {
            priority.nf = std::min(priority.nf, value);
        }
    }
    return priority;
}

// The head line: forms and readings separated by ",", each with its marks in brackets,
// remarks in parentheses and its pronunciation between slashes.
void readHead(QStringView head, GermanEntry& entry) {
    static const QRegularExpression pronunciation(u"/[^/]*/"_qs);
    for (QString piece : splitOutside(head, u',', true)) {
        const WordPriority priority = priorityIn(piece);
        piece.remove(priorityMark());
        piece.remove(pronunciation);
        piece.remove(innermostRemark());
        piece = piece.trimmed();
        if (piece.isEmpty()) {
            continue;
        }
        if (isKanaOnly(piece)) {
            entry.readings.append(hiraganaOf(piece));
            entry.readingPriorities.push_back(priority);
        } else {
            entry.forms.append(piece);
            entry.priorities.push_back(priority);
        }
    }
}

QStringList glossesOf(QStringView sense) {
    QStringList glosses;
    for (const QString& part : splitOutside(sense, u',', false)) {
        const QString gloss = cleanGloss(part);
        if (!gloss.isEmpty() && !glosses.contains(gloss)) {
            glosses.append(gloss);
        }
    }
    return glosses;
}

}  // namespace

bool WordPriority::before(const WordPriority& other) const {
    if (ichi != other.ichi) {
        return ichi;
    }
    if (common != other.common) {
        return common;
    }
    return nf < other.nf;
}

WordPriority GermanEntry::priorityOf(const QString& form) const {
    const qsizetype at = forms.indexOf(form);
    return at < 0 ? WordPriority{} : priorities[static_cast<size_t>(at)];
}

WordPriority GermanEntry::priorityOf(const QString& form, const QString& reading) const {
    const qsizetype formAt = forms.indexOf(form);
    const qsizetype readingAt = readings.indexOf(hiraganaOf(reading));
    if (formAt < 0 || readingAt < 0) {
        return {};
    }
    const WordPriority& written = priorities[static_cast<size_t>(formAt)];
    const WordPriority& read = readingPriorities[static_cast<size_t>(readingAt)];
    return {written.ichi && read.ichi, written.common && read.common,
            std::max(written.nf, read.nf)};
}

bool GermanEntry::hasReading(const QString& reading) const {
    return readings.contains(hiraganaOf(reading));
}

GermanEntry parseGermanEntry(const QString& text) {
    GermanEntry entry;
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    if (lines.isEmpty()) {
        return entry;
    }
    readHead(lines.front(), entry);
    entry.usuallyKana = text.contains(u"Note: word usually written using kana alone"_qs);
    if (lines.size() < 2) {
        return entry;
    }
    QString glosses = lines.back();
    for (bool stripped = true; stripped;) {
        const qsizetype before = glosses.size();
        glosses.remove(leadingCrossReference());
        glosses.remove(leadingNote());
        stripped = glosses.size() != before;
    }
    // Text before "(1)" is a sense of its own: FreeDict joins the glosses of two sources.
    qsizetype begin = 0;
    for (const QRegularExpressionMatch& number : senseNumber().globalMatch(glosses)) {
        const QStringList sense =
            glossesOf(QStringView(glosses).sliced(begin, number.capturedStart() - begin));
        if (!sense.isEmpty()) {
            entry.senses.push_back(sense);
        }
        begin = number.capturedEnd();
    }
    const QStringList last = glossesOf(QStringView(glosses).sliced(begin));
    if (!last.isEmpty()) {
        entry.senses.push_back(last);
    }
    for (QStringList& sense : entry.senses) {
        sense.removeIf([&](const QString& gloss) { return spellsReading(gloss, entry.readings); });
    }
    std::erase_if(entry.senses, [](const QStringList& sense) { return sense.isEmpty(); });
    return entry;
}

QString cleanGloss(QString gloss) {
    static const QRegularExpression crossReference(u"\\{[^}]*\\}"_qs);
    static const QStringList placeholders = {u"etw."_qs, u"jmd."_qs, u"jmdm."_qs, u"jmdn."_qs,
                                             u"jmds."_qs};
    gloss.remove(crossReference);
    gloss.remove(genderMark());
    for (qsizetype before = -1; before != gloss.size();) {
        before = gloss.size();
        gloss.remove(innermostRemark());
    }
    gloss.replace(u'…', u' ');
    gloss.replace(QChar(0x00A0), u' ');
    gloss = gloss.simplified();
    const bool hasLetter =
        std::any_of(gloss.begin(), gloss.end(), [](QChar c) { return c.isLetter(); });
    return hasLetter && !placeholders.contains(gloss) ? gloss : QString();
}

QStringList firstMeanings(const GermanEntry& entry, int count) {
    QStringList meanings;
    const size_t senses = std::min<size_t>(entry.senses.size(), kSensesUsed);
    for (qsizetype turn = 0; meanings.size() < count; ++turn) {
        bool any = false;
        for (size_t s = 0; s < senses && meanings.size() < count; ++s) {
            const QStringList& sense = entry.senses[s];
            if (turn < sense.size()) {
                any = true;
                if (!meanings.contains(sense[turn], Qt::CaseInsensitive)) {
                    meanings.append(sense[turn]);
                }
            }
        }
        if (!any) {
            break;
        }
    }
    return meanings;
}

std::optional<GermanDictionary> GermanDictionary::parse(QByteArray dict, const QByteArray& index) {
    static const QByteArray kDigits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const auto number = [](QByteArrayView text) -> qsizetype {
        qsizetype value = 0;
        for (const char c : text) {
            const qsizetype digit = kDigits.indexOf(c);
            if (digit < 0 || value > (qsizetype(1) << 40)) {
                return -1;
            }
            value = value * 64 + digit;
        }
        return text.isEmpty() ? -1 : value;
    };
    GermanDictionary dictionary;
    for (const QByteArray& line : index.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 3) {
            continue;
        }
        const qsizetype offset = number(fields[1]);
        const qsizetype length = number(fields[2]);
        if (offset < 0 || length <= 0 || offset + length > dict.size()) {
            return std::nullopt;
        }
        // The index names an entry once per written form; a form listed twice is one entry.
        std::vector<Span>& spans = dictionary.index_[QString::fromUtf8(fields[0])];
        if (std::none_of(spans.begin(), spans.end(),
                         [&](const Span& s) { return s.offset == offset; })) {
            spans.push_back({offset, length});
        }
    }
    if (dictionary.index_.empty()) {
        return std::nullopt;
    }
    dictionary.dict_ = std::move(dict);
    return dictionary;
}

std::optional<GermanDictionary> GermanDictionary::load(const QString& indexPath) {
    QString dictPath = indexPath;
    if (!dictPath.endsWith(u".index"_qs)) {
        return std::nullopt;
    }
    dictPath.chop(6);
    dictPath += u".dict.dz"_qs;
    const auto index = readWholeFile(indexPath, kMaxInputBytes);
    const auto compressed = readWholeFile(dictPath, kMaxInputBytes);
    if (!index || !compressed) {
        return std::nullopt;
    }
    std::optional<QByteArray> dict = gunzip(*compressed, kMaxDictBytes);
    if (!dict) {
        return std::nullopt;
    }
    return parse(std::move(*dict), *index);
}

std::vector<GermanEntry> GermanDictionary::entriesOf(const QString& form) const {
    std::vector<GermanEntry> entries;
    const auto found = index_.find(form);
    if (found == index_.end()) {
        return entries;
    }
    for (const Span& span : found->second) {
        GermanEntry entry = parseGermanEntry(
            QString::fromUtf8(QByteArrayView(dict_).sliced(span.offset, span.length)));
        if (entry.forms.contains(form)) {
            entries.push_back(std::move(entry));
        }
    }
    // An entry that writes the form first is that word; one that lists it among other
    // spellings (本 beside 元 for もと) is a rarer writing of another word.
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const GermanEntry& a, const GermanEntry& b) {
                         const WordPriority pa = a.priorityOf(form);
                         const WordPriority pb = b.priorityOf(form);
                         if (pa.before(pb) || pb.before(pa)) {
                             return pa.before(pb);
                         }
                         return a.forms.front() == form && b.forms.front() != form;
                     });
    return entries;
}
