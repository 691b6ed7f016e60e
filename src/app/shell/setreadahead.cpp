#include "app/shell/setreadahead.h"

#include "app/kanjiset/kanjiimage.h"
#include "ui/images.h"

#include <QFileInfo>
#include <QFont>

#include <chrono>

namespace {

// The card opens at the set's first record, wherever sorting moves it.
void drawFirstCardPictures(std::vector<KanjiRecord>& records, const FirstCardSource& source) {
    if (records.empty()) {
        return;
    }
    KanjiRecord& first = records.front();
    source.fonts.wait();
    QFont font(source.kanjiFamily);
    font.setPixelSize(source.kanjiPixelSize);
    kanjiImageOf(first, font);
    // A strip drawn from reference strokes needs the stroke library, which the window loads.
    if (!first.Anim.isEmpty()) {
        QImage strip = ui::loadPng(source.stripFolder + first.Anim);
        if (!strip.isNull()) {
            first.StrokeImage = std::make_shared<QImage>(std::move(strip));
        }
    }
}

}  // namespace

void SetReadAhead::start(const QString& path, FirstCardSource source) {
    auto firstSeen = std::make_shared<std::promise<std::optional<KanjiRecord>>>();
    first_ = firstSeen->get_future();
    const auto read = [path, source = std::move(source), awaited = awaited_, firstSeen] {
        bool told = false;
        FirstRecordSeen tell;
        if (QFileInfo(path).size() >= SetFileHalvesFrom) {
            tell = [&told, &firstSeen](const KanjiRecord& first) {
                told = true;
                firstSeen->set_value(first);
            };
        }
        SetFileRead records = readSetFile(path, tell);
        if (!told) {
            firstSeen->set_value(std::nullopt);
        }
        if (records && !awaited->load()) {
            drawFirstCardPictures(*records, source);
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
