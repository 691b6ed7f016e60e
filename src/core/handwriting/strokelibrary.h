// The reference strokes of every character of KanjiVG, read from the file tools/makestrokes
// derives from it (data/Media/Strokes/KanjiVG.strokes).
#pragma once

#include "base/expected.h"
#include "base/files.h"
#include "core/handwriting/strokes.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

#include <map>
#include <memory>
#include <utility>
#include <vector>

class QFile;

class StrokeLibrary {
public:
    // KanjiVG's drawing box: coordinates run from 0 to 109, y downwards.
    static constexpr float BoxSize = 109.0f;

    StrokeLibrary() = default;

    // The reason names what is wrong with the bytes; a file that is cut short or malformed is
    // refused as a whole rather than giving some characters wrong strokes. A file with an index
    // is only checked as far as its header, its index and its last character; a character
    // found broken later has no strokes.
    static Expected<StrokeLibrary, QString> parse(const QByteArray& bytes);
    // The file's bytes, with an index, for these characters (any order; a code given twice
    // keeps the first).
    // Points are kept to 1/16 unit within 0 to 255.9375; a character the file cannot hold (no
    // strokes, more than 255, a stroke without points or with more than 255) is left out.
    static QByteArray encode(const std::vector<std::pair<char32_t, StrokeList>>& characters);

    // The strokes of a character in writing order, or nullptr when KanjiVG has none. From an
    // indexed file a character is read when first asked for and kept; the pointer stays valid
    // as long as the library.
    const StrokeList* find(char32_t code) const;
    int size() const { return static_cast<int>(indexed_ ? indexCount_ : codes_.size()); }
    bool empty() const { return size() == 0; }

private:
    friend FileResult<StrokeLibrary> loadStrokeLibrary(const QString& path);
    static Expected<StrokeLibrary, QString> parseIndexed(const QByteArray& bytes);

    // A file without an index, read whole.
    std::vector<char32_t> codes_;  // ascending
    std::vector<StrokeList> strokes_;
    // A file with an index: its bytes (mapped, when mapping_ holds the file), and the characters
    // read from it so far.
    bool indexed_ = false;
    std::uint32_t indexCount_ = 0;
    QByteArray bytes_;
    std::shared_ptr<QFile> mapping_;
    std::shared_ptr<std::map<char32_t, StrokeList>> read_ =
        std::make_shared<std::map<char32_t, StrokeList>>();
};

// Bytes that parse refuses give FileErrorKind::Malformed with parse's reason as the text.
FileResult<StrokeLibrary> loadStrokeLibrary(const QString& path);
