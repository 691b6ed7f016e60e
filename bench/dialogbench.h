// Shared pieces of the benchmarks of large-list dialogs: a profile like a learner's, buttons
// clicked by caption, and the first paint of the list noticed.
#pragma once

#include "core/training/profilerecord.h"
#include "ui/tablelist.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QEvent>

#include <algorithm>
#include <vector>

// Scattered over the bands as a learner's results are, some kanji untrained; shuffled on request
// so that a sort by code has work to do.
inline ProfileList makeProfile(int count, bool shuffled) {
    ProfileList list;
    list.records.resize(static_cast<size_t>(count));
    quint32 seed = 12345;
    const auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<qint32>((seed >> 16) % static_cast<quint32>(range));
    };
    for (int i = 0; i < count; ++i) {
        ProfileRecord& r = list.records[static_cast<size_t>(i)];
        r.Code = 0x4E00 + i;
        if (next(8) != 0) {
            r.KindOn = {next(20), next(3), next(8), 0, 0, 0};
            r.KindKun = {next(20), next(3), next(8), 0, 0, 0};
            r.KindMeaning = {next(20), next(3), next(8), 0, 0, 0};
        }
    }
    for (int i = count - 1; shuffled && i > 0; --i) {
        std::swap(list.records[static_cast<size_t>(i)],
                  list.records[static_cast<size_t>(next(i + 1))]);
    }
    return list;
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline void click(QWidget* window, const QString& caption) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text() == caption) {
            button->click();
        }
    }
}

// Notes that a large list has been painted: the first frame the user sees.
class PaintSpy : public QObject {
public:
    explicit PaintSpy(bool& painted) : painted_(painted) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->parent() != nullptr &&
            dynamic_cast<ui::TableList*>(watched->parent()) != nullptr) {
            painted_ = true;
        }
        return false;
    }

private:
    bool& painted_;
};

inline double ms(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}
