// An Anki package (.apkg, .colpkg) opened for the import: the collection it carries, read from a
// temporary copy outside the working folder, and its media map.
#pragma once

#include "core/review/ankicollection.h"
#include "core/review/ankierror.h"

#include <QByteArray>
#include <QString>

#include <vector>

// No member is unpacked beyond this: a package that claims more is refused, not trusted.
inline constexpr qint64 MaxAnkiUnpackedBytes = qint64(2) << 30;
// The media map and each media file are read into memory, so they have tighter bounds.
inline constexpr qint64 MaxAnkiMediaMapBytes = qint64(64) << 20;
inline constexpr qint64 MaxAnkiMediaBytes = qint64(64) << 20;
inline constexpr qsizetype MaxAnkiMediaFiles = 500'000;

struct AnkiMediaFile {
    // The name the notes use in [sound:name]: a bare file name.
    QString name;
    QString member;
    // Newer packages keep every media member zstd-compressed.
    bool zstd = false;
};

struct AnkiPackage {
    QString path;
    AnkiCollection collection;
    std::vector<AnkiMediaFile> media;

    const AnkiMediaFile* mediaNamed(const QString& name) const;
};

// Reads the package at path. The collection is taken from collection.anki21b (zstd-compressed)
// before collection.anki21 before collection.anki2, or as the "meta" member names it: a newer
// package's collection.anki2 only asks to update Anki and is never read. The collection is
// unpacked into a temporary folder below tempRoot, which must lie outside the working folder
// (it may be synced), and removed before this returns; a member beyond MaxAnkiUnpackedBytes or
// the room left there is refused. A media file named like a path refuses the package.
AnkiResult<AnkiPackage> readAnkiPackage(const QString& path, const QString& tempRoot);

// The content of one media file of the package, at most MaxAnkiMediaBytes.
AnkiResult<QByteArray> readAnkiMedia(const AnkiPackage& package, const AnkiMediaFile& file);
