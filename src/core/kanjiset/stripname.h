// Which names a record's Anim may hold: a set file must not lead the program to read pictures
// outside the set's Anim folder.
#pragma once

#include <QString>
#include <QStringView>

// A file's name without any folder: no "/", no "\", no "..".
inline bool isBareFileName(QStringView name) {
    return !name.isEmpty() && name != u"." && !name.contains(u"..") && !name.contains(u'/') &&
           !name.contains(u'\\');
}

// The name as a stroke-order strip's file name: a name that is not bare counts as none.
inline QString stripFileName(const QString& anim) {
    return isBareFileName(anim) ? anim : QString();
}
