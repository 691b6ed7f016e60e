// Set file reader (Expat, streamed into records by position) and writer (UTF-16LE text).
#include "core/kanjiset/setfile.h"

#include "base/files.h"
#include "core/kanjiset/integerrule.h"

#include <QFileInfo>
#include <QLatin1String>
#include <QString>
#include <QtEndian>

// Debian's libexpat is built with DTD support, but its header only declares the
// entity-amplification limits when XML_DTD is defined by the includer.
#ifndef XML_DTD
#define XML_DTD
#endif
#include <expat.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

namespace {

// More records than any kanji set can hold (Unicode has fewer than 100,000 CJK ideographs).
// Refusing beyond it keeps a small hostile file of empty elements from claiming gigabytes.
constexpr std::size_t kMaxRecords = std::size_t(1) << 18;

// Expat takes int lengths, so large inputs are fed in pieces.
constexpr qsizetype kParseChunk = qsizetype(1) << 26;

// Number of open elements above a node: the root's children, a kanji's children and the
// children of the examples element.
constexpr int kInRoot = 1;
constexpr int kInKanji = 2;
constexpr int kInField = 3;

// Positions of a kanji's children that carry more than their text.
constexpr int kStrokeImagePosition = 1;
constexpr int kAnimPosition = 4;
constexpr int kExamplesPosition = 7;
constexpr int kExampleCount = 4;

enum class LineBreak { Lf, CrLf, Cr };

// The first line break in the raw file decides the form of every line break in the texts.
// The file's encoding is told the way Expat tells it: byte-order mark, else the zero byte
// of the leading "<" in UTF-16, else single bytes (UTF-8 and ISO-8859-1 agree on CR and LF).
// A file without any line break gives LF, the form Qt's text editors hand out.
LineBreak detectLineBreak(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    if (size >= 2) {
        const bool bigEndian = (data[0] == 0xFE && data[1] == 0xFF) || data[0] == 0;
        const bool littleEndian = (data[0] == 0xFF && data[1] == 0xFE) || data[1] == 0;
        if (bigEndian || littleEndian) {
            const auto unitAt = [&](qsizetype i) -> char16_t {
                return bigEndian ? char16_t(data[i] << 8 | data[i + 1])
                                 : char16_t(data[i] | data[i + 1] << 8);
            };
            for (qsizetype i = 0; i + 1 < size; i += 2) {
                const char16_t unit = unitAt(i);
                if (unit == u'\n') {
                    return LineBreak::Lf;
                }
                if (unit == u'\r') {
                    return i + 3 < size && unitAt(i + 2) == u'\n' ? LineBreak::CrLf : LineBreak::Cr;
                }
            }
            return LineBreak::Lf;
        }
    }
    const uchar* end = data + size;
    const uchar* found = std::find_if(data, end, [](uchar c) { return c == '\n' || c == '\r'; });
    if (found == end || *found == '\n') {
        return LineBreak::Lf;
    }
    return found + 1 < end && found[1] == '\n' ? LineBreak::CrLf : LineBreak::Cr;
}

// Not find_first_of, which calls memchr for every character of the text.
bool hasLineBreak(const std::string& utf8) {
    return std::any_of(utf8.begin(), utf8.end(), [](char c) { return c == '\r' || c == '\n'; });
}

// Expat hands out every line break as LF (character references may still give CR), so each
// CR LF, CR or LF becomes the file's own form.
QString decodeText(const std::string& utf8, LineBreak lineBreak) {
    QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    if (lineBreak == LineBreak::Lf && !text.contains(u'\r')) {
        return text;
    }
    const QStringView form = lineBreak == LineBreak::CrLf ? QStringView(u"\r\n")
                             : lineBreak == LineBreak::Cr ? QStringView(u"\r")
                                                          : QStringView(u"\n");
    QString result;
    result.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            result.append(form);
        } else if (c == u'\n') {
            result.append(form);
        } else {
            result.append(c);
        }
    }
    return result;
}

QString decodeAttribute(const XML_Char* value) {
    return QString::fromUtf8(value);
}

// Builds records while Expat walks the document. A node's meaning follows from its depth
// and its position among its siblings only; names are never looked at. Comments and
// processing instructions are nodes too (they hold a position but carry no text or
// attributes); character data belongs to the element around it and is never a node of its
// own, so the whitespace of a hand-indented file makes no records.
class SetFileReader {
public:
    explicit SetFileReader(const QByteArray& bytes) : bytes_(bytes) {}

    std::optional<std::vector<KanjiRecord>> read() {
        const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
            XML_ParserCreate(nullptr), &XML_ParserFree);
        if (!parser) {
            return std::nullopt;
        }
        parser_ = parser.get();
        // Entities are refused outright below; the amplification limit is a second fence.
        XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser_, 2.0f);
        XML_SetBillionLaughsAttackProtectionActivationThreshold(parser_, 1u << 20);
        XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &SetFileReader::onStart, &SetFileReader::onEnd);
        XML_SetCharacterDataHandler(parser_, &SetFileReader::onText);
        XML_SetCommentHandler(parser_, &SetFileReader::onComment);
        XML_SetProcessingInstructionHandler(parser_, &SetFileReader::onInstruction);
        XML_SetEntityDeclHandler(parser_, &SetFileReader::onEntityDecl);

        const char* data = bytes_.constData();
        qsizetype left = bytes_.size();
        do {
            const qsizetype chunk = std::min(left, kParseChunk);
            left -= chunk;
            if (XML_Parse(parser_, data, int(chunk), left == 0) != XML_STATUS_OK) {
                return std::nullopt;
            }
            data += chunk;
        } while (left > 0);
        if (refused_) {
            return std::nullopt;
        }
        return std::move(records_);
    }

private:
    static SetFileReader& self(void* userData) { return *static_cast<SetFileReader*>(userData); }

    static void XMLCALL onStart(void* userData, const XML_Char*, const XML_Char** attributes) {
        SetFileReader& reader = self(userData);
        reader.startNode(attributes);
        ++reader.depth_;
    }

    static void XMLCALL onEnd(void* userData, const XML_Char*) {
        SetFileReader& reader = self(userData);
        if (reader.depth_ == reader.textDepth_) {
            reader.finishText();
        }
        --reader.depth_;
    }

    static void XMLCALL onText(void* userData, const XML_Char* text, int length) {
        SetFileReader& reader = self(userData);
        if (reader.depth_ == reader.textDepth_) {
            reader.text_.append(text, std::size_t(length));
        }
    }

    static void XMLCALL onComment(void* userData, const XML_Char*) {
        self(userData).startNode(nullptr);
    }

    static void XMLCALL onInstruction(void* userData, const XML_Char*, const XML_Char*) {
        self(userData).startNode(nullptr);
    }

    // Any entity declaration is refused: a set file needs none, and refusing them rules out
    // entity expansion attacks and external entities in one stroke.
    static void XMLCALL onEntityDecl(void* userData, const XML_Char*, int, const XML_Char*, int,
                                     const XML_Char*, const XML_Char*, const XML_Char*,
                                     const XML_Char*) {
        self(userData).refuse();
    }

    void refuse() {
        refused_ = true;
        XML_StopParser(parser_, XML_FALSE);
    }

    // attributes is null for a comment or processing instruction.
    void startNode(const XML_Char** attributes) {
        if (refused_) {
            return;
        }
        switch (depth_) {
            case kInRoot:
                startKanji(attributes);
                break;
            case kInKanji:
                startField(attributes);
                break;
            case kInField:
                if (fieldPosition_ == kExamplesPosition) {
                    startExample(attributes);
                }
                break;
            default:
                break;
        }
    }

    void startKanji(const XML_Char** attributes) {
        if (records_.size() >= kMaxRecords) {
            refuse();
            return;
        }
        KanjiRecord& record = records_.emplace_back();
        fieldPosition_ = 0;
        if (!attributes) {
            return;
        }
        qint32* const numbers[] = {&record.Idx1, &record.Idx2, &record.Unicode};
        for (qint32* number : numbers) {
            if (!attributes[0]) {
                break;
            }
            *number = readInteger(decodeAttribute(attributes[1]));
            attributes += 2;
        }
    }

    void startField(const XML_Char** attributes) {
        KanjiRecord& record = records_.back();
        ++fieldPosition_;
        examplePosition_ = 0;
        QString* target = nullptr;
        switch (fieldPosition_) {
            case kStrokeImagePosition:
                if (attributes && attributes[0]) {
                    record.Anim = decodeAttribute(attributes[1]);
                }
                return;
            case 2:
                target = &record.OnYomi;
                break;
            case 3:
                target = &record.KunYomi;
                break;
            case kAnimPosition:
                target = &record.Anim;
                break;
            case 5:
                target = &record.Bemerkung;
                break;
            case 6:
                target = &record.Genshi;
                break;
            default:
                return;
        }
        startText(target, attributes);
    }

    void startExample(const XML_Char** attributes) {
        if (++examplePosition_ > kExampleCount) {
            return;
        }
        KanjiRecord& record = records_.back();
        const int index = examplePosition_ - 1;
        if (attributes && attributes[0]) {
            record.SoundFile[index] = decodeAttribute(attributes[1]);
        }
        startText(&record.Beispiel[index], attributes);
    }

    // The node's text replaces the target; a comment in the element's place has none. The
    // target lies in the last record, which stays put until this element ends, because a
    // new record only starts after it.
    void startText(QString* target, const XML_Char** attributes) {
        if (!attributes) {
            target->clear();
            return;
        }
        textTarget_ = target;
        textDepth_ = depth_ + 1;
        text_.clear();
    }

    void finishText() {
        *textTarget_ = hasLineBreak(text_)
                           ? decodeText(text_, lineBreak())
                           : QString::fromUtf8(text_.data(), qsizetype(text_.size()));
        textTarget_ = nullptr;
        textDepth_ = -1;
    }

    // Looking for the first line break can mean scanning the whole file, and files written by
    // the program hold none; so only a text with a line break asks for it.
    LineBreak lineBreak() {
        if (!lineBreak_) {
            lineBreak_ = detectLineBreak(bytes_);
        }
        return *lineBreak_;
    }

    const QByteArray& bytes_;
    std::optional<LineBreak> lineBreak_;
    XML_Parser parser_ = nullptr;
    std::vector<KanjiRecord> records_;
    int depth_ = 0;
    int fieldPosition_ = 0;
    int examplePosition_ = 0;
    QString* textTarget_ = nullptr;
    int textDepth_ = -1;
    std::string text_;
    bool refused_ = false;
};

// Writes the document straight into one UTF-16 string. The layout, byte for byte:
//   <?xml version="1.0" encoding="UTF-16"?><Renkari><Kanji7 Idx1="7" Idx2="0" Unicode="26085">
//   <StrokeOrderImage Nr1="26085.png"/><OnYomi>NICHI</OnYomi><KunYomi/>...<Beispiele>
//   <Beispiel SoundFile="">...</Beispiel>...</Beispiele></Kanji7>...</Renkari>
// with no whitespace between any two tags (the lines above are broken for reading only),
// one blank before each attribute, none around "=", values in double quotes, and the
// empty-element form for every element without text and children.
class SetFileWriter {
public:
    QByteArray write(const std::vector<KanjiRecord>& records) {
        qsizetype estimate = 64;
        for (const KanjiRecord& record : records) {
            estimate += 400 + 2 * record.Anim.size() + record.OnYomi.size() +
                        record.KunYomi.size() + record.Bemerkung.size() + record.Genshi.size();
            for (int i = 0; i < kExampleCount; ++i) {
                estimate += record.Beispiel[i].size() + record.SoundFile[i].size();
            }
        }
        out_.reserve(estimate);
        out_.append(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>");
        if (records.empty()) {
            out_.append(u"<Renkari/>");
        } else {
            out_.append(u"<Renkari>");
            for (const KanjiRecord& record : records) {
                writeKanji(record);
            }
            out_.append(u"</Renkari>");
        }
        QByteArray bytes(out_.size() * 2, Qt::Uninitialized);
        qToLittleEndian<char16_t>(out_.utf16(), out_.size(), bytes.data());
        return bytes;
    }

private:
    void writeKanji(const KanjiRecord& record) {
        const QString name = QLatin1String("Kanji") + QString::number(record.Idx1);
        out_.append(u'<').append(name);
        writeAttribute(u"Idx1", QString::number(record.Idx1));
        writeAttribute(u"Idx2", QString::number(record.Idx2));
        writeAttribute(u"Unicode", QString::number(record.Unicode));
        out_.append(u'>');

        out_.append(u"<StrokeOrderImage");
        writeAttribute(u"Nr1", record.Anim);
        out_.append(u"/>");
        writeTextElement(u"OnYomi", record.OnYomi);
        writeTextElement(u"KunYomi", record.KunYomi);
        writeTextElement(u"Anim", record.Anim);
        writeTextElement(u"Bemerkung", record.Bemerkung);
        writeTextElement(u"Genshi", record.Genshi);

        out_.append(u"<Beispiele>");
        for (int i = 0; i < kExampleCount; ++i) {
            writeExample(record.Beispiel[i], record.SoundFile[i]);
        }
        out_.append(u"</Beispiele></").append(name).append(u'>');
    }

    void writeExample(const QString& text, const QString& soundFile) {
        out_.append(u"<Beispiel");
        writeAttribute(u"SoundFile", soundFile);
        writeBody(u"Beispiel", text);
    }

    void writeTextElement(QStringView name, const QString& text) {
        out_.append(u'<').append(name);
        writeBody(name, text);
    }

    // Closes the open start tag: empty-element form without text, else text and end tag.
    void writeBody(QStringView name, const QString& text) {
        if (text.isEmpty()) {
            out_.append(u"/>");
            return;
        }
        out_.append(u'>');
        appendEscaped(text, false);
        out_.append(u"</").append(name).append(u'>');
    }

    void writeAttribute(QStringView name, const QString& value) {
        out_.append(u' ').append(name).append(u"=\"");
        appendEscaped(value, true);
        out_.append(u'"');
    }

    // Line breaks in texts stay raw, as the reader expects them. In attribute values a raw
    // tab or line break would come back as a blank, so those become character references.
    // Characters XML cannot carry at all (other control characters, unpaired surrogates,
    // U+FFFE, U+FFFF) are left out: writing them would make the whole set unreadable.
    void appendEscaped(QStringView text, bool attribute) {
        qsizetype runStart = 0;
        const qsizetype size = text.size();
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t c = text[i].unicode();
            QLatin1String replacement;
            switch (c) {
                case u'&':
                    replacement = QLatin1String("&amp;");
                    break;
                case u'<':
                    replacement = QLatin1String("&lt;");
                    break;
                case u'>':
                    replacement = QLatin1String("&gt;");
                    break;
                case u'"':
                    replacement = attribute ? QLatin1String("&quot;") : QLatin1String();
                    break;
                case u'\'':
                    replacement = attribute ? QLatin1String("&apos;") : QLatin1String();
                    break;
                case u'\t':
                    replacement = attribute ? QLatin1String("&#9;") : QLatin1String();
                    break;
                case u'\n':
                    replacement = attribute ? QLatin1String("&#10;") : QLatin1String();
                    break;
                case u'\r':
                    replacement = attribute ? QLatin1String("&#13;") : QLatin1String();
                    break;
                default:
                    if (QChar::isHighSurrogate(c) && i + 1 < size && text[i + 1].isLowSurrogate()) {
                        ++i;
                        continue;
                    }
                    if (c >= 0x20 && !QChar::isSurrogate(c) && c < 0xFFFE) {
                        continue;
                    }
                    // Not representable: drop it (an empty replacement).
                    out_.append(text.mid(runStart, i - runStart));
                    runStart = i + 1;
                    continue;
            }
            if (replacement.isNull()) {
                continue;
            }
            out_.append(text.mid(runStart, i - runStart)).append(replacement);
            runStart = i + 1;
        }
        out_.append(text.mid(runStart));
    }

    QString out_;
};

}  // namespace

std::optional<std::vector<KanjiRecord>> parseSetFile(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return std::nullopt;
    }
    return SetFileReader(bytes).read();
}

SetFileRead readSetFile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        return unexpected(SetFileFailure::Missing);
    }
    const FileResult<QByteArray> bytes = readWholeFile(path);
    if (bytes) {
        if (std::optional<std::vector<KanjiRecord>> records = parseSetFile(*bytes)) {
            return std::move(*records);
        }
    }
    return unexpected(SetFileFailure::Unreadable);
}

QByteArray writeSetFile(const std::vector<KanjiRecord>& records) {
    return SetFileWriter().write(records);
}
