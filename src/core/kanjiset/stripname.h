// Which names a record's Anim may hold: a set file must not lead the program to read pictures
// outside the set's Anim folder.
#pragma once

#include <QString>
#include <QStringView>

// A file's name without any folder: no "/", no "\", no "..", no control characters.
inline bool isBareFileName(QStringView name) {
    if (name.isEmpty() || name == u"." || name.contains(u"..") || name.contains(u'/') ||
        name.contains(u'\\')) {
        return false;
    }
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            return false;
        }
    }
    return true;
}

// The name as a stroke-order strip's file name: a name that is not bare counts as none.
inline QString stripFileName(const QString& anim) {
    return isBareFileName(anim) ? anim : QString();
}
