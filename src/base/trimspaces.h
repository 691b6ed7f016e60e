// The one trim rule of the readings a learner types and the set stores: only U+0020 counts, as
// readings are typed on one line and anything else is content.
#pragma once

#include <QStringView>

inline QStringView trimSpaces(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ') {
        ++begin;
    }
    while (end > begin && text[end - 1] == u' ') {
        --end;
    }
    return text.sliced(begin, end - begin);
}
