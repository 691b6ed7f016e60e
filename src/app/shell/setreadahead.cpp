#include "app/shell/setreadahead.h"

#include "app/kanjiset/kanjiimage.h"
#include "ui/images.h"

#include <QFileInfo>
#include <QFont>

#include <chrono>

namespace {

// The pictures of the card showing record. The strip comes first: it needs no fonts, which may
// still be being read.
void drawCardPictures(KanjiRecord& record, const FirstCardSource& source) {
    // A strip drawn from reference strokes needs the stroke library, which the window loads.
    if (!record.Anim.isEmpty()) {
        QImage strip = ui::loadPng(source.stripFolder + record.Anim).value_or(QImage());
        if (!strip.isNull()) {
            record.StrokeImage = std::make_shared<QImage>(std::move(strip));
        }
    }
    source.fonts.wait();
    QFont font(source.kanjiFamily);
    font.setPixelSize(source.kanjiPixelSize);
    kanjiImageOf(record, font);
}

}  // namespace

void SetReadAhead::start(const QString& path, FirstCardSource source) {
    auto firstSeen = std::make_shared<std::promise<std::optional<KanjiRecord>>>();
    first_ = firstSeen->get_future();
    const auto read = [path, source = std::move(source), awaited = awaited_, firstSeen] {
        // A set read in one pass is read while the window is built; its first card's pictures
        // are drawn as soon as its first record is, so that the window's first drawing can show
        // them. A set read in halves is what the start waits for; the window draws them.
        const bool inHalves = QFileInfo(path).size() >= SetFileHalvesFrom;
        std::optional<KanjiRecord> told;
        SetFileRead records = readSetFile(path, [&](const KanjiRecord& first) {
            told = first;
            if (!inHalves) {
                drawCardPictures(*told, source);
            }
            firstSeen->set_value(told);
        });
        if (!told) {
            firstSeen->set_value(std::nullopt);
        }
        // The card opens at the set's first record, wherever sorting moves it.
        if (records && !records->empty() && !awaited->load()) {
            KanjiRecord& first = (*records).front();
            if (told && told->KanjiImage) {
                first.KanjiImage = told->KanjiImage;
                first.StrokeImage = told->StrokeImage;
            } else {
                drawCardPictures(first, source);
            }
        }
        return records;
    };
    records_ = std::async(std::launch::async | std::launch::deferred, read);
}

bool SetReadAhead::reading() const {
    return started() && records_.wait_for(std::chrono::seconds(0)) == std::future_status::timeout;
}

std::optional<KanjiRecord> SetReadAhead::takeFirstRecord(FirstRecordWait wait) {
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

SetFileRead SetReadAhead::take() {
    awaited_->store(true);
    return records_.get();
}
