#include "app/shell/setreadahead.h"

#include "ui/images.h"

#include <QFileInfo>
#include <QFont>

#include <chrono>

namespace {

// The pictures of the card showing record. The strip comes first: it needs no fonts, which may
// still be being read.
FirstCard drawCardPictures(const KanjiRecord& record, const FirstCardSource& source) {
    FirstCard card{record, {}, {}};
    // A strip drawn from reference strokes needs the stroke library, which the window loads.
    if (!record.Anim.isEmpty()) {
        const QString path = source.stripFolder + record.Anim;
        card.strip = {path, ui::loadPng(path).value_or(QImage())};
    }
    source.fonts.wait();
    QFont font(source.kanjiFamily);
    font.setPixelSize(source.kanjiPixelSize);
    card.kanji = renderKanjiImage(QImage(), record.Unicode, font);
    return card;
}

}  // namespace

void SetReadAhead::start(const QString& path, FirstCardSource source) {
    auto firstSeen = std::make_shared<std::promise<std::optional<FirstCard>>>();
    first_ = firstSeen->get_future();
    const auto read = [path, source = std::move(source), awaited = awaited_, firstSeen] {
        // A set read in one pass is read while the window is built; its first card's pictures
        // are drawn as soon as its first record is, so that the window's first drawing can show
        // them. A set read in halves is what the start waits for; the window draws them.
        const bool inHalves = QFileInfo(path).size() >= SetFileHalvesFrom;
        bool told = false;
        SetFileRead records = readSetFile(path, [&](const KanjiRecord& first) {
            told = true;
            firstSeen->set_value(inHalves ? FirstCard{first, {}, {}}
                                          : drawCardPictures(first, source));
        });
        if (!told) {
            firstSeen->set_value(std::nullopt);
        }
        ReadAhead read{std::move(records), std::nullopt};
        // The card opens at the set's first record, wherever sorting moves it; pictures drawn
        // with the record told are in the window's cache already.
        if (read.records && !read.records->empty() && !awaited->load() && (inHalves || !told)) {
            read.first = drawCardPictures(read.records->front(), source);
        }
        return read;
    };
    records_ = std::async(std::launch::async | std::launch::deferred, read);
}

bool SetReadAhead::reading() const {
    return started() && records_.wait_for(std::chrono::seconds(0)) == std::future_status::timeout;
}

std::optional<FirstCard> SetReadAhead::takeFirstRecord(FirstRecordWait wait) {
    if (!reading() || !first_.valid()) {
        return std::nullopt;
    }
    if (wait == FirstRecordWait::IfAlreadyTold &&
        first_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        return std::nullopt;
    }
    awaited_->store(true);
    return first_.get();
}

ReadAhead SetReadAhead::take() {
    awaited_->store(true);
    ReadAhead read = records_.get();
    // A small set is often read whole before the window asks for its first record: the pictures
    // drawn with that record are then handed over here rather than drawn a second time.
    if (!read.first && first_.valid()) {
        read.first = first_.get();
    }
    return read;
}
