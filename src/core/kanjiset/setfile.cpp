// Set file reader: Expat streamed into records by position, in one pass or in two halves at once.
#include "core/kanjiset/setfile.h"

#include "base/files.h"
#include "core/kanjiset/integerrule.h"
#include "core/kanjiset/stripname.h"

#include <QByteArrayView>
#include <QFileInfo>
#include <QString>

// Debian's libexpat is built with DTD support, but its header only declares the
// entity-amplification limits when XML_DTD is defined by the includer.
#ifndef XML_DTD
#define XML_DTD
#endif
#include <expat.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <future>
#include <memory>
#include <string>

namespace {

// More records than any kanji set can hold (Unicode has fewer than 100,000 CJK ideographs).
// Refusing beyond it keeps a small hostile file of empty elements from claiming gigabytes.
constexpr std::size_t kMaxRecords = std::size_t(1) << 18;

// Expat takes int lengths, so large inputs are fed in pieces.
constexpr qsizetype kParseChunk = qsizetype(1) << 26;
// The first piece of a file read: it tells how densely the file holds records, and for a split,
// the root's start tag must end within it.
constexpr qsizetype kSampleBytes = qsizetype(64) << 10;

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

// Two sweeps of memchr beat one loop that compares every character twice.
bool hasLineBreak(const std::string& utf8) {
    return std::memchr(utf8.data(), '\n', utf8.size()) != nullptr ||
           std::memchr(utf8.data(), '\r', utf8.size()) != nullptr;
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

// The numbers of a kanji are short and ASCII as a rule, and are read without a string of their
// own: three allocations fewer for every record.
qint32 readIntegerAttribute(const XML_Char* value) {
    std::array<char16_t, 32> units;
    std::size_t length = 0;
    for (const XML_Char* c = value; *c != 0; ++c) {
        if (length == units.size() || static_cast<unsigned char>(*c) >= 0x80) {
            return readInteger(decodeAttribute(value));
        }
        units[length++] = char16_t(*c);
    }
    return readInteger(QStringView(units.data(), qsizetype(length)));
}

// Builds records while Expat walks the document. A node's meaning follows from its depth and its
// position among its siblings only; names are never looked at (the root's is kept, only to read a
// file in halves). Comments and processing instructions are nodes too (they hold a position but
// carry no text or attributes); character data belongs to the element around it and is never a
// node of its own, so the whitespace of a hand-indented file makes no records.
class SetFileReader {
public:
    // whole: the whole file, whose first line break gives the line breaks of every text their form.
    explicit SetFileReader(const QByteArray& whole)
        : whole_(whole), parser_(XML_ParserCreate(nullptr), &XML_ParserFree) {
        if (!parser_) {
            return;
        }
        XML_Parser parser = parser_.get();
        // Entities are refused outright below; the amplification limit is a second fence.
        XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser, 2.0f);
        XML_SetBillionLaughsAttackProtectionActivationThreshold(parser, 1u << 20);
        XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, &SetFileReader::onStart, &SetFileReader::onEnd);
        XML_SetCharacterDataHandler(parser, &SetFileReader::onText);
        XML_SetCommentHandler(parser, &SetFileReader::onComment);
        XML_SetProcessingInstructionHandler(parser, &SetFileReader::onInstruction);
        XML_SetEntityDeclHandler(parser, &SetFileReader::onEntityDecl);
        XML_SetStartDoctypeDeclHandler(parser, &SetFileReader::onDoctype);
    }

    // Reads the next pieces of the document, at most kParseChunk bytes together; last ends it.
    // Expat copies whatever it parses into a buffer of its own, so the pieces are copied straight
    // into that. They are parsed in one call, as Expat counts lines and columns through all it
    // has read after every call that does not end the document. False from the first piece on
    // that makes the document not well-formed or holds what a set file must not.
    bool feed(std::initializer_list<QByteArrayView> pieces, bool last) {
        qsizetype size = 0;
        for (QByteArrayView piece : pieces) {
            size += piece.size();
        }
        if (!parser_ || refused_ || size > kParseChunk) {
            return false;
        }
        char* buffer = static_cast<char*>(XML_GetBuffer(parser_.get(), int(size)));
        if (buffer == nullptr) {
            return false;
        }
        for (QByteArrayView piece : pieces) {
            std::copy(piece.begin(), piece.end(), buffer);
            buffer += piece.size();
        }
        return XML_ParseBuffer(parser_.get(), int(size), last) == XML_STATUS_OK && !refused_;
    }

    // Expat's handlers find the reader by its address.
    SetFileReader(const SetFileReader&) = delete;
    SetFileReader& operator=(const SetFileReader&) = delete;

    std::vector<KanjiRecord> takeRecords() { return std::move(records_); }

    // Makes room for the records of a document of totalBytes, judging from how many of them the
    // first readBytes held: growing the records one by one to thousands would allocate and move
    // them a dozen times over.
    void reserveFor(qsizetype readBytes, qsizetype totalBytes) {
        const double perByte = double(records_.size()) / double(std::max<qsizetype>(readBytes, 1));
        const auto expected = std::size_t(perByte * double(totalBytes) * 1.1) + 16;
        records_.reserve(std::min(expected, kMaxRecords));
    }

    // Tells firstSeen the first record if it is whole by now: the next one has begun.
    void tellFirstRecord(const FirstRecordSeen& firstSeen) const {
        if (firstSeen && records_.size() >= 2) {
            firstSeen(records_.front());
        }
    }

    // What reading in halves needs to know: the root element's name (empty until its start tag
    // has been read) and whether the document has a document type declaration.
    const std::string& rootName() const { return rootName_; }
    bool hasDoctype() const { return hasDoctype_; }

private:
    static SetFileReader& self(void* userData) { return *static_cast<SetFileReader*>(userData); }

    static void XMLCALL onStart(void* userData, const XML_Char* name, const XML_Char** attributes) {
        SetFileReader& reader = self(userData);
        if (reader.depth_ == 0) {
            reader.rootName_ = name;
        }
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

    static void XMLCALL onDoctype(void* userData, const XML_Char*, const XML_Char*, const XML_Char*,
                                  int) {
        self(userData).hasDoctype_ = true;
    }

    void refuse() {
        refused_ = true;
        XML_StopParser(parser_.get(), XML_FALSE);
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
            *number = readIntegerAttribute(attributes[1]);
            attributes += 2;
        }
    }

    void startField(const XML_Char** attributes) {
        KanjiRecord& record = records_.back();
        ++fieldPosition_;
        examplePosition_ = 0;
        QString KanjiRecord::*field = nullptr;
        switch (fieldPosition_) {
            case kStrokeImagePosition:
                if (attributes && attributes[0]) {
                    record.Anim = stripFileName(decodeAttribute(attributes[1]));
                }
                return;
            case 2:
                field = &KanjiRecord::OnYomi;
                break;
            case 3:
                field = &KanjiRecord::KunYomi;
                break;
            case kAnimPosition:
                field = &KanjiRecord::Anim;
                break;
            case 5:
                field = &KanjiRecord::Bemerkung;
                break;
            case 6:
                field = &KanjiRecord::Genshi;
                break;
            default:
                return;
        }
        startText({field, 0}, attributes);
    }

    void startExample(const XML_Char** attributes) {
        if (++examplePosition_ > kExampleCount) {
            return;
        }
        const auto index = std::size_t(examplePosition_ - 1);
        if (attributes && attributes[0]) {
            records_.back().SoundFile[index] = decodeAttribute(attributes[1]);
        }
        startText({nullptr, index}, attributes);
    }

    // A text of the last record: a field, or else an example. The record is looked up anew
    // when its text ends, as reserveFor may have moved it meanwhile.
    struct TextTarget {
        QString KanjiRecord::*field = nullptr;
        std::size_t example = 0;
    };

    QString& textOfLastRecord(TextTarget target) {
        KanjiRecord& record = records_.back();
        return target.field != nullptr ? record.*target.field : record.Beispiel[target.example];
    }

    // The node's text replaces the target; a comment in the element's place has none. The
    // target lies in the last record, as a new record only starts after this element.
    void startText(TextTarget target, const XML_Char** attributes) {
        if (!attributes) {
            textOfLastRecord(target).clear();
            return;
        }
        textTarget_ = target;
        textDepth_ = depth_ + 1;
        text_.clear();
    }

    void finishText() {
        textOfLastRecord(textTarget_) =
            hasLineBreak(text_) ? decodeText(text_, lineBreak())
                                : QString::fromUtf8(text_.data(), qsizetype(text_.size()));
        if (textTarget_.field == &KanjiRecord::Anim) {
            QString& anim = textOfLastRecord(textTarget_);
            anim = stripFileName(anim);
        }
        textTarget_ = {};
        textDepth_ = -1;
    }

    // Looking for the first line break can mean scanning the whole file, and files written by
    // the program hold none; so only a text with a line break asks for it.
    LineBreak lineBreak() {
        if (!lineBreak_) {
            lineBreak_ = detectLineBreak(whole_);
        }
        return *lineBreak_;
    }

    const QByteArray& whole_;
    std::optional<LineBreak> lineBreak_;
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser_;
    std::vector<KanjiRecord> records_;
    std::string rootName_;
    bool hasDoctype_ = false;
    int depth_ = 0;
    int fieldPosition_ = 0;
    int examplePosition_ = 0;
    TextTarget textTarget_;
    int textDepth_ = -1;
    std::string text_;
    bool refused_ = false;
};

// Reading in halves: the second half is read on its own from a start tag near the middle, after
// a piece that stands for the file's start (its byte-order mark and the root's start tag), while
// the first half is read up to that start tag and closed by the root's end tag. Both halves are
// well-formed only when the split lies between two children of the root, outside any comment,
// CDATA section or tag; a file with a document type declaration, whose defaults the second half
// would not know, is not split. Anything else is left to one pass.

// How far a split candidate must read as the start of a second half before it is taken.
constexpr qsizetype kSplitLookahead = qsizetype(16) << 10;
constexpr int kSplitAttempts = 16;

enum class ByteOrder { Little, Big };

// The order of a UTF-16 file as Expat tells it from a byte-order mark or a leading "<"; none for
// the single-byte encodings, which are never split.
std::optional<ByteOrder> utf16Order(const QByteArray& bytes) {
    if (bytes.size() < 4) {
        return std::nullopt;
    }
    const auto first = uchar(bytes[0]);
    const auto second = uchar(bytes[1]);
    if ((first == 0xFF && second == 0xFE) || (first == '<' && second == 0)) {
        return ByteOrder::Little;
    }
    if ((first == 0xFE && second == 0xFF) || (first == 0 && second == '<')) {
        return ByteOrder::Big;
    }
    return std::nullopt;
}

char16_t unitAt(QByteArrayView bytes, qsizetype offset, ByteOrder order) {
    const auto low = uchar(bytes[offset + (order == ByteOrder::Little ? 0 : 1)]);
    const auto high = uchar(bytes[offset + (order == ByteOrder::Little ? 1 : 0)]);
    return char16_t(high << 8 | low);
}

QByteArray encode(QStringView text, ByteOrder order) {
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        bytes[2 * i + (order == ByteOrder::Little ? 0 : 1)] = char(unit & 0xFF);
        bytes[2 * i + (order == ByteOrder::Little ? 1 : 0)] = char(unit >> 8);
    }
    return bytes;
}

// The first "<" at or after from that is not followed by "/", "!" or "?"; -1 when there is none.
qsizetype nextStartTag(QByteArrayView bytes, ByteOrder order, qsizetype from) {
    for (qsizetype i = from & ~qsizetype(1); i + 3 < bytes.size(); i += 2) {
        if (unitAt(bytes, i, order) == u'<') {
            const char16_t next = unitAt(bytes, i + 2, order);
            if (next != u'/' && next != u'!' && next != u'?') {
                return i;
            }
        }
    }
    return -1;
}

// A start tag at or after from that reads well as the start of a second half for a stretch. A
// tag further down fails where its parent element ends, and the next start tag after that is
// tried. -1 when none was found.
qsizetype findSplit(QByteArrayView bytes, ByteOrder order, const QByteArray& opening,
                    qsizetype from) {
    qsizetype candidate = nextStartTag(bytes, order, from);
    for (int attempt = 0; attempt < kSplitAttempts && candidate >= 0; ++attempt) {
        const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> probe(
            XML_ParserCreate(nullptr), &XML_ParserFree);
        if (!probe) {
            return -1;
        }
        const QByteArrayView ahead =
            bytes.sliced(candidate, std::min(kSplitLookahead, bytes.size() - candidate));
        if (XML_Parse(probe.get(), opening.constData(), int(opening.size()), XML_FALSE) ==
                XML_STATUS_OK &&
            XML_Parse(probe.get(), ahead.data(), int(ahead.size()), XML_FALSE) == XML_STATUS_OK) {
            return candidate;
        }
        const qint64 failedAt = XML_GetCurrentByteIndex(probe.get()) - opening.size();
        candidate = nextStartTag(bytes, order, candidate + std::max<qint64>(failedAt, 2));
    }
    return -1;
}

std::optional<std::vector<KanjiRecord>> readInOnePass(const QByteArray& bytes,
                                                      const FirstRecordSeen& firstSeen) {
    SetFileReader reader(bytes);
    const QByteArrayView whole(bytes);
    for (qsizetype at = 0; at < whole.size();) {
        const qsizetype size = std::min(at == 0 ? kSampleBytes : kParseChunk, whole.size() - at);
        const bool last = at + size == whole.size();
        if (!reader.feed({whole.sliced(at, size)}, last)) {
            return std::nullopt;
        }
        if (at == 0 && !last) {
            reader.reserveFor(size, whole.size());
            reader.tellFirstRecord(firstSeen);
        }
        at += size;
    }
    return reader.takeRecords();
}

}  // namespace

std::optional<std::vector<KanjiRecord>> parseSetFile(const QByteArray& bytes,
                                                     const FirstRecordSeen& firstSeen) {
    if (bytes.isEmpty()) {
        return std::nullopt;
    }
    bool told = false;
    const FirstRecordSeen tellOnce = [&told, &firstSeen](const KanjiRecord& first) {
        if (firstSeen && !told) {
            told = true;
            firstSeen(first);
        }
    };
    if (bytes.size() >= SetFileHalvesFrom) {
        if (std::optional<std::vector<KanjiRecord>> records =
                parseSetFileInHalves(bytes, tellOnce)) {
            return records;
        }
    }
    return readInOnePass(bytes, tellOnce);
}

std::optional<std::vector<KanjiRecord>> parseSetFileInHalves(const QByteArray& bytes,
                                                             const FirstRecordSeen& firstSeen) {
    const std::optional<ByteOrder> order = utf16Order(bytes);
    // Each half is fed to Expat in one piece.
    if (!order || bytes.size() > kParseChunk) {
        return std::nullopt;
    }
    const QByteArrayView whole(bytes);
    SetFileReader first(bytes);
    // An even length, and no further than the middle, where the split is looked for.
    const qsizetype rootRead = std::min(kSampleBytes, bytes.size() / 4 * 2);
    if (!first.feed({whole.first(rootRead)}, false) || first.rootName().empty() ||
        first.hasDoctype()) {
        return std::nullopt;
    }
    // Room for the records of both halves, which end up in the first half's vector.
    first.reserveFor(rootRead, bytes.size());
    first.tellFirstRecord(firstSeen);
    const QString root = QString::fromUtf8(first.rootName());
    const QByteArray opening = encode(QStringLiteral("\uFEFF<") + root + u'>', *order);
    const qsizetype split = findSplit(whole, *order, opening, bytes.size() / 2);
    if (split < rootRead) {
        return std::nullopt;
    }
    // Where no thread can be started, the second half is read after the first.
    auto second =
        std::async(std::launch::async | std::launch::deferred, [&bytes, &opening, whole, split] {
            SetFileReader reader(bytes);
            const QByteArrayView half = whole.sliced(split);
            const qsizetype sample = std::min(kSampleBytes, half.size());
            std::optional<std::vector<KanjiRecord>> records;
            if (reader.feed({opening, half.first(sample)}, false)) {
                reader.reserveFor(sample, half.size());
                if (reader.feed({half.sliced(sample)}, true)) {
                    records = reader.takeRecords();
                }
            }
            return records;
        });
    const QByteArray closing = encode(QStringLiteral("</") + root + u'>', *order);
    const bool firstRead = first.feed({whole.sliced(rootRead, split - rootRead), closing}, true);
    std::optional<std::vector<KanjiRecord>> rest = second.get();
    if (!firstRead || !rest) {
        return std::nullopt;
    }
    std::vector<KanjiRecord> records = first.takeRecords();
    // One pass refuses the same set: it counts the records of both halves.
    if (records.size() + rest->size() > kMaxRecords) {
        return std::nullopt;
    }
    records.insert(records.end(), std::make_move_iterator(rest->begin()),
                   std::make_move_iterator(rest->end()));
    return records;
}

SetFileRead readSetFile(const QString& path, const FirstRecordSeen& firstSeen) {
    if (!QFileInfo::exists(path)) {
        return unexpected(FileError{FileErrorKind::NotFound, {}});
    }
    const FileResult<QByteArray> bytes = readWholeFile(path);
    if (!bytes) {
        return unexpected(bytes.error());
    }
    if (std::optional<std::vector<KanjiRecord>> records = parseSetFile(*bytes, firstSeen)) {
        return std::move(*records);
    }
    return unexpected(FileError{FileErrorKind::Malformed, {}});
}
