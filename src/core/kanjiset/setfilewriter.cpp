// Set file writer: the records as one UTF-16LE document, byte for byte as the reader expects.
#include "core/kanjiset/setfile.h"

#include <QLatin1String>
#include <QString>
#include <QtEndian>

namespace {

constexpr int kExampleCount = 4;

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

QByteArray writeSetFile(const std::vector<KanjiRecord>& records) {
    return SetFileWriter().write(records);
}
