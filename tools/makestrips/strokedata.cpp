// Reading the kanjidraw stroke table from its JSON text.
#include "strokedata.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

std::optional<StrokeSegment> readSegment(const QJsonValue& value) {
    const QJsonArray numbers = value.toArray();
    if (numbers.size() != 4) {
        return std::nullopt;
    }
    for (const QJsonValue& number : numbers) {
        if (!number.isDouble()) {
            return std::nullopt;
        }
    }
    return StrokeSegment{
        static_cast<float>(numbers[0].toDouble()), static_cast<float>(numbers[1].toDouble()),
        static_cast<float>(numbers[2].toDouble()), static_cast<float>(numbers[3].toDouble())};
}

std::optional<std::vector<StrokeSegment>> readStrokes(const QJsonValue& value) {
    if (!value.isArray()) {
        return std::nullopt;
    }
    std::vector<StrokeSegment> strokes;
    for (const QJsonValue& stroke : value.toArray()) {
        const std::optional<StrokeSegment> segment = readSegment(stroke);
        if (!segment) {
            return std::nullopt;
        }
        strokes.push_back(*segment);
    }
    if (strokes.empty()) {
        return std::nullopt;
    }
    return strokes;
}

}  // namespace

std::optional<StrokeTable> parseStrokeData(const QByteArray& json) {
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject()) {
        return std::nullopt;
    }
    StrokeTable table;
    const QJsonObject byCount = document.object();
    for (auto group = byCount.begin(); group != byCount.end(); ++group) {
        if (!group.value().isObject()) {
            return std::nullopt;
        }
        const QJsonObject kanji = group.value().toObject();
        for (auto entry = kanji.begin(); entry != kanji.end(); ++entry) {
            const QList<uint> codes = entry.key().toUcs4();
            std::optional<std::vector<StrokeSegment>> strokes = readStrokes(entry.value());
            if (codes.size() != 1 || !strokes) {
                continue;
            }
            table[static_cast<char32_t>(codes.front())] = std::move(*strokes);
        }
    }
    return table;
}
