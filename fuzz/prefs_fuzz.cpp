// Fuzz target for the preference file and language catalog readers and the preference writer.
#include "core/shell/preferences.h"
#include "core/shell/texttables.h"

#include "fuzzinput.h"

#include <QList>

#include <array>
#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QString trimBlanks(QString text) {
    qsizetype begin = 0;
    while (begin < text.size() && (text[begin] == u' ' || text[begin] == u'\t')) {
        ++begin;
    }
    qsizetype end = text.size();
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t')) {
        --end;
    }
    return text.sliced(begin, end - begin);
}

// What reading a written value gives back: line breaks are dropped on writing, surrounding
// blanks and tabs on reading.
QString writableValue(QString value) {
    value.remove(u'\r');
    value.remove(u'\n');
    return trimBlanks(value);
}

// Values read from a file hold no line breaks and no surrounding blanks, so they survive a
// write and a second read unchanged, whatever the defaults.
void checkReadValuesRoundTrip(const QByteArray& bytes) {
    const Preferences defaults{u"set"_s, u"profile"_s, u"/import/"_s, u"/export/"_s, u"language"_s};
    const Preferences read = parsePreferences(bytes, defaults);
    const QByteArray written = serializePreferences(read);
    require(parsePreferences(written, Preferences{}) == read);
    require(serializePreferences(parsePreferences(written, Preferences{})) == written);
}

// Splits the input into five values at NUL bytes and writes them: the file keeps its six lines
// and every value reads back as far as the format can hold it.
void checkWrittenValues(const QByteArray& bytes) {
    const QList<QByteArray> parts = bytes.split('\0');
    std::array<QString, 5> values;
    for (qsizetype i = 0; i < qsizetype(values.size()) && i < parts.size(); ++i) {
        values[size_t(i)] = QString::fromUtf8(parts[i]);
    }
    const Preferences prefs{values[0], values[1], values[2], values[3], values[4]};
    const QByteArray written = serializePreferences(prefs);
    require(written.count('\n') == 6);
    require(written.count('\r') == 6);

    const Preferences read = parsePreferences(written, Preferences{});
    require(read.LastSet == writableValue(prefs.LastSet));
    require(read.LastProfile == writableValue(prefs.LastProfile));
    require(read.ImportPath == writableValue(prefs.ImportPath));
    require(read.ExportPath == writableValue(prefs.ExportPath));
    require(read.Language == writableValue(prefs.Language));
}

void checkCatalog(const QByteArray& bytes) {
    const std::optional<TextTables> tables = parseCatalog(bytes);
    require(tables.has_value() ==
            (bytes.startsWith("Catalog\r") || bytes.startsWith("Catalog\n") || bytes == "Catalog"));
    if (tables) {
        // Whatever the bytes, the first line after the header becomes the first caption.
        const qsizetype start = bytes.startsWith("Catalog\r\n") ? 9 : 8;
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') {
            ++end;
        }
        require(tables->text(MainText::File) ==
                (start < bytes.size() ? QString::fromUtf8(bytes.sliced(start, end - start))
                                      : builtInTexts().text(MainText::File)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkReadValuesRoundTrip(bytes);
    checkWrittenValues(bytes);
    checkCatalog(bytes);
    return 0;
}
