// The set file read on a worker while the window is built.
#pragma once

#include "app/state/pictures.h"
#include "core/kanjiset/setfile.h"
#include "ui/fontconfiguration.h"

#include <QString>

#include <atomic>
#include <future>
#include <memory>
#include <optional>

// What a worker needs to draw the pictures of the kanji a set opens with: the kanji font as
// family and size, as a font object must not be shared between threads, and the font
// configuration's reading, which drawing text must wait for.
struct FirstCardSource {
    QString stripFolder;
    QString kanjiFamily;
    int kanjiPixelSize = 0;
    ui::FontConfigurationLoad fonts;
};

// A set's first record and the pictures the worker drew of it; null pictures were not drawn.
struct FirstCard {
    KanjiRecord record;
    QImage kanji;
    StripPicture strip;
};

// The set as read, and its first card when the worker drew its pictures after reading it.
struct ReadAhead {
    SetFileRead records;
    std::optional<FirstCard> first;
};

// The set file read on a worker while the window is built. The worker draws the first card's
// pictures, with a font of its own, as soon as it knows the first record of a set read in one
// pass, and after reading any other set unless the window has drawn them by then. Where no thread
// can be started, the set is read when it is needed.
class SetReadAhead {
public:
    void start(const QString& path, FirstCardSource source);
    bool started() const { return records_.valid(); }
    // A worker is still reading the set.
    bool reading() const;
    enum class FirstRecordWait { UntilTold, IfAlreadyTold };
    // The set's first record as soon as the worker has read it, for the window to show it
    // while the rest is read; a set read in one pass tells it with its pictures drawn, a set
    // read in halves without, as the window has time to draw them. Nothing for a set too small
    // to be told ahead or one that is unreadable, once it was taken, or when it is not told yet
    // and the caller does not wait. Only while reading().
    std::optional<FirstCard> takeFirstRecord(FirstRecordWait wait);
    // The set, waiting for the worker; its first card's pictures when they were drawn and not
    // taken before.
    ReadAhead take();

private:
    std::shared_ptr<std::atomic<bool>> awaited_ = std::make_shared<std::atomic<bool>>(false);
    std::future<std::optional<FirstCard>> first_;
    std::future<ReadAhead> records_;
};
