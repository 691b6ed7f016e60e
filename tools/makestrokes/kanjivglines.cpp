// One line, one character: a broken line is reported and skipped, never guessed at.
#include "kanjivglines.h"

#include "svgpath.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

std::optional<char32_t> codePointOf(std::string_view field) {
    std::uint32_t code = 0;
    const auto [end, status] = std::from_chars(field.data(), field.data() + field.size(), code);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (status != std::errc() || end != field.data() + field.size() || code == 0 ||
        code > 0x10FFFF || surrogate) {
        return std::nullopt;
    }
    return static_cast<char32_t>(code);
}

Expected<std::pair<char32_t, StrokeList>, QString> readLine(std::string_view line,
                                                            float tolerance) {
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
        return unexpected(u"no strokes"_s);
    }
    const std::optional<char32_t> code = codePointOf(line.substr(0, tab));
    if (!code) {
        return unexpected(u"bad code point"_s);
    }
    StrokeList strokes;
    std::string_view rest = line.substr(tab + 1);
    while (true) {
        const size_t next = rest.find('\t');
        const Expected<std::vector<PathSegment>, QString> segments =
            parseSvgPath(rest.substr(0, next));
        if (!segments) {
            return unexpected(u"stroke "_s + QString::number(strokes.size() + 1) + u": "_s +
                              segments.error());
        }
        strokes.push_back(flattenPath(*segments, tolerance));
        if (next == std::string_view::npos) {
            break;
        }
        rest = rest.substr(next + 1);
    }
    return std::pair{*code, std::move(strokes)};
}

}  // namespace

KanjiVgStrokes readKanjiVgStrokes(const QByteArray& text, float tolerance) {
    KanjiVgStrokes result;
    const std::string_view all(text.constData(), static_cast<size_t>(text.size()));
    size_t start = 0;
    for (int number = 1; start < all.size(); ++number) {
        const size_t end = std::min(all.find('\n', start), all.size());
        std::string_view line = all.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.empty() || line.starts_with('#')) {
            continue;
        }
        Expected<std::pair<char32_t, StrokeList>, QString> character = readLine(line, tolerance);
        if (character) {
            result.characters.push_back(std::move(*character));
        } else {
            result.malformed.append(u"line "_s + QString::number(number) + u": "_s +
                                    character.error());
        }
    }
    return result;
}
