// The members of an Anki package: a zip file read member by member through libzip, each member
// inflated (and zstd-decompressed when it is so stored) in small steps, never whole.
#pragma once

#include "core/review/ankierror.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

struct zip;

// Whether a member's content is a zstd stream to be decompressed.
enum class MemberCompression { None, Zstd };

class AnkiArchive {
public:
    // Opens the package; a file that is no zip is NotZip, a member named like a path ("../x",
    // "/x", "C:x", "a\\b") MemberNamedLikePath, as unpacking it could write outside its folder.
    static AnkiResult<AnkiArchive> open(const QString& path);

    bool has(const QString& member) const;
    // The size the zip's directory gives for a member (0 when it has none); a zstd member's own
    // size is known only once it is decompressed.
    qint64 declaredSize(const QString& member) const;

    // Hands the member's content to sink in pieces; more than maxBytes is TooLarge, a cut or
    // damaged stream BadStream, and a sink that returns false stops it as NoRoom.
    AnkiResult<void> stream(const QString& member, MemberCompression compression, qint64 maxBytes,
                            const std::function<bool(const char*, qsizetype)>& sink) const;
    // The member's whole content, at most maxBytes.
    AnkiResult<QByteArray> read(const QString& member, MemberCompression compression,
                                qint64 maxBytes) const;
    // The member written to a new file at target, at most maxBytes.
    AnkiResult<void> extract(const QString& member, MemberCompression compression, qint64 maxBytes,
                             const QString& target) const;

private:
    struct Closer {
        void operator()(zip* archive) const;
    };
    explicit AnkiArchive(std::unique_ptr<zip, Closer> archive) : archive_(std::move(archive)) {}

    std::unique_ptr<zip, Closer> archive_;
};

// Whether bytes begin like a zstd frame.
bool startsLikeZstd(const QByteArray& bytes);
