// Reading and writing the preference file.
#include "core/shell/preferences.h"

#include "base/files.h"

#include <QStringDecoder>

#include <array>

namespace {

struct PreferenceKey {
    const char* name;
    QString Preferences::*member;
};

// Also the order in which the keys are written.
constexpr std::array<PreferenceKey, 5> preferenceKeys{{
    {"LastSet", &Preferences::LastSet},
    {"LastProfile", &Preferences::LastProfile},
    {"ImportPath", &Preferences::ImportPath},
    {"ExportPath", &Preferences::ExportPath},
    {"Language", &Preferences::Language},
}};

constexpr QByteArrayView utf8Bom("\xEF\xBB\xBF");

// Files without a byte order mark are usually hand-edited: modern editors save UTF-8 without
// a mark, older ones an 8-bit code page. Bytes that are valid UTF-8 are almost never meant as
// Latin-1, so they decide.
QString decodePreferenceText(const QByteArray& bytes) {
    if (bytes.startsWith(utf8Bom)) {
        return QString::fromUtf8(QByteArrayView(bytes).sliced(utf8Bom.size()));
    }
    {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError()) {
            return text;
        }
    }
    return QString::fromLatin1(bytes);
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool isLineBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

QStringView trimBlanks(QStringView text) {
    while (!text.isEmpty() && isBlank(text.front())) {
        text = text.sliced(1);
    }
    while (!text.isEmpty() && isBlank(text.back())) {
        text.chop(1);
    }
    return text;
}

constexpr char16_t asciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

// Keys are ASCII; full Unicode folding would let look-alikes such as the Kelvin sign match "k".
bool sameKey(QStringView key, QLatin1StringView name) {
    if (key.size() != name.size()) {
        return false;
    }
    for (qsizetype i = 0; i < key.size(); ++i) {
        if (asciiLower(key[i].unicode()) != asciiLower(name[i].unicode())) {
            return false;
        }
    }
    return true;
}

}  // namespace

Preferences parsePreferences(const QByteArray& bytes, const Preferences& defaults) {
    const QString text = decodePreferenceText(bytes);
    const QStringView all(text);
    Preferences prefs = defaults;
    std::array<bool, preferenceKeys.size()> found{};

    qsizetype pos = 0;
    while (pos < all.size()) {
        qsizetype end = pos;
        while (end < all.size() && !isLineBreak(all[end])) {
            ++end;
        }
        QStringView line = all.sliced(pos, end - pos);
        // Any run of CR and LF ends the line; the empty lines inside such a run carry nothing.
        pos = end;
        while (pos < all.size() && isLineBreak(all[pos])) {
            ++pos;
        }

        line = trimBlanks(line);
        if (line.isEmpty() || line.front() == u';') {
            continue;
        }
        if (line.front() == u'[') {
            break;  // The program writes no groups; keys of a named group are not its own.
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            continue;
        }
        const QStringView key = trimBlanks(line.first(equals));
        for (size_t i = 0; i < preferenceKeys.size(); ++i) {
            if (!found[i] && sameKey(key, QLatin1StringView(preferenceKeys[i].name))) {
                found[i] = true;
                prefs.*preferenceKeys[i].member = trimBlanks(line.sliced(equals + 1)).toString();
                break;
            }
        }
    }
    return prefs;
}

QByteArray serializePreferences(const Preferences& prefs) {
    QByteArray out(utf8Bom.data(), utf8Bom.size());
    out += "\r\n";
    for (const PreferenceKey& key : preferenceKeys) {
        QString value = prefs.*key.member;
        value.remove(u'\r');
        value.remove(u'\n');
        out += key.name;
        out += " = ";
        out += value.toUtf8();
        out += "\r\n";
    }
    return out;
}

FileResult<Preferences> readPreferencesFile(const QString& path, const Preferences& defaults) {
    // Five short lines: a file of a megabyte is no preference file, and reading a gigabyte of it
    // would hold up the start.
    constexpr qint64 MaxPreferenceFileBytes = qint64(1) << 20;
    const FileResult<QByteArray> bytes = readWholeFile(path, MaxPreferenceFileBytes);
    if (!bytes) {
        return unexpected(bytes.error());
    }
    return parsePreferences(*bytes, defaults);
}

FileResult<void> writePreferencesFile(const QString& path, const Preferences& prefs) {
    return saveFileAtomically(path, serializePreferences(prefs));
}
