// An Expat handler that keeps only the handful of KANJIDIC2 elements the demo set uses.
#include "kanjidic.h"

#include <QString>

#include <expat.h>

#include <cstring>
#include <limits>
#include <memory>
#include <string>

namespace {

// What the text of the element being read will be stored as.
enum class Target { None, Literal, Radical, Frequency, Jlpt, StrokeCount, On, Kun, Meaning };

struct ParseState {
    std::vector<KanjidicEntry> entries;
    bool inCharacter = false;
    Target target = Target::None;
    std::string text;
    XML_Parser parser = nullptr;
};

const char* attribute(const XML_Char** attributes, const char* name) {
    for (const XML_Char** a = attributes; *a != nullptr; a += 2) {
        if (std::strcmp(a[0], name) == 0) {
            return a[1];
        }
    }
    return nullptr;
}

bool hasValue(const XML_Char** attributes, const char* name, const char* value) {
    const char* found = attribute(attributes, name);
    return found != nullptr && std::strcmp(found, value) == 0;
}

Target targetOf(const char* name, const XML_Char** attributes) {
    const std::string element(name);
    if (element == "literal") {
        return Target::Literal;
    }
    if (element == "rad_value" && hasValue(attributes, "rad_type", "classical")) {
        return Target::Radical;
    }
    if (element == "freq") {
        return Target::Frequency;
    }
    if (element == "jlpt") {
        return Target::Jlpt;
    }
    if (element == "stroke_count") {
        return Target::StrokeCount;
    }
    if (element == "reading" && hasValue(attributes, "r_type", "ja_on")) {
        return Target::On;
    }
    if (element == "reading" && hasValue(attributes, "r_type", "ja_kun")) {
        return Target::Kun;
    }
    // A meaning without m_lang is the English one.
    if (element == "meaning" && attribute(attributes, "m_lang") == nullptr) {
        return Target::Meaning;
    }
    return Target::None;
}

int toNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value > 0 ? value : 0;
}

void store(KanjidicEntry& entry, Target target, const QString& text) {
    switch (target) {
        case Target::Literal: {
            const QList<uint> codes = text.toUcs4();
            entry.codePoint = codes.size() == 1 ? static_cast<char32_t>(codes.front()) : 0;
            break;
        }
        case Target::Radical:
            entry.classicalRadical = toNumber(text);
            break;
        case Target::Frequency:
            entry.frequencyRank = toNumber(text);
            break;
        case Target::Jlpt:
            entry.jlptLevel = toNumber(text);
            break;
        case Target::StrokeCount:
            // Further counts are common miscounts; the first is the accepted one.
            if (entry.strokeCount == 0) {
                entry.strokeCount = toNumber(text);
            }
            break;
        case Target::On:
            entry.onReadings.append(text);
            break;
        case Target::Kun:
            entry.kunReadings.append(text);
            break;
        case Target::Meaning:
            entry.meanings.append(text);
            break;
        case Target::None:
            break;
    }
}

void XMLCALL onStart(void* userData, const XML_Char* name, const XML_Char** attributes) {
    auto& state = *static_cast<ParseState*>(userData);
    if (std::strcmp(name, "character") == 0) {
        state.entries.emplace_back();
        state.inCharacter = true;
        return;
    }
    if (state.inCharacter) {
        state.target = targetOf(name, attributes);
        state.text.clear();
    }
}

void XMLCALL onEnd(void* userData, const XML_Char* name) {
    auto& state = *static_cast<ParseState*>(userData);
    if (std::strcmp(name, "character") == 0) {
        state.inCharacter = false;
    } else if (state.inCharacter && state.target != Target::None) {
        store(state.entries.back(), state.target, QString::fromUtf8(state.text));
    }
    state.target = Target::None;
}

void XMLCALL onText(void* userData, const XML_Char* text, int length) {
    auto& state = *static_cast<ParseState*>(userData);
    if (state.target != Target::None) {
        state.text.append(text, static_cast<size_t>(length));
    }
}

// KANJIDIC2 declares no entities; a file that does is not the file this tool was made for, and
// refusing it rules out entity expansion bombs.
void XMLCALL onEntityDeclaration(void* userData, const XML_Char*, int, const XML_Char*, int,
                                 const XML_Char*, const XML_Char*, const XML_Char*,
                                 const XML_Char*) {
    XML_StopParser(static_cast<ParseState*>(userData)->parser, XML_FALSE);
}

struct ParserFree {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

}  // namespace

std::optional<std::vector<KanjidicEntry>> parseKanjidic(const QByteArray& xml) {
    if (xml.size() > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    const std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate(nullptr));
    if (!parser) {
        return std::nullopt;
    }
    ParseState state;
    state.parser = parser.get();
    XML_SetUserData(parser.get(), &state);
    XML_SetElementHandler(parser.get(), onStart, onEnd);
    XML_SetCharacterDataHandler(parser.get(), onText);
    XML_SetEntityDeclHandler(parser.get(), onEntityDeclaration);
    // No external entity handler is installed, so nothing outside this text is ever loaded.
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
    if (XML_Parse(parser.get(), xml.constData(), static_cast<int>(xml.size()), XML_TRUE) !=
        XML_STATUS_OK) {
        return std::nullopt;
    }
    return std::move(state.entries);
}
