// An Anki package opened for the import: its collection and its media map.
#include "core/review/ankipackage.h"

#include "core/review/ankiwire.h"
#include "core/review/ankizip.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStorageInfo>
#include <QTemporaryDir>

namespace {

const QString Anki2 = QStringLiteral("collection.anki2");
const QString Anki21 = QStringLiteral("collection.anki21");
const QString Anki21b = QStringLiteral("collection.anki21b");
const QString Meta = QStringLiteral("meta");
const QString MediaMap = QStringLiteral("media");
constexpr qint64 MaxMetaBytes = 4096;

struct CollectionMember {
    QString name;
    MemberCompression compression = MemberCompression::None;
};

AnkiResult<CollectionMember> chooseCollection(const AnkiArchive& archive) {
    int version = 0;
    if (archive.has(Meta)) {
        const AnkiResult<QByteArray> meta =
            archive.read(Meta, MemberCompression::None, MaxMetaBytes);
        if (!meta) {
            return unexpected(meta.error());
        }
        const std::optional<int> named = packageVersion(*meta);
        if (!named) {
            return ankiFailure(AnkiProblem::BadCollection, Meta);
        }
        version = *named;
    }
    const QString name = version == 3           ? Anki21b
                         : version == 2         ? Anki21
                         : version == 1         ? Anki2
                         : archive.has(Anki21b) ? Anki21b
                         : archive.has(Anki21)  ? Anki21
                                                : Anki2;
    if (!archive.has(name)) {
        return ankiFailure(AnkiProblem::NoCollection, name);
    }
    return CollectionMember{name,
                            name == Anki21b ? MemberCompression::Zstd : MemberCompression::None};
}

bool namedLikePath(const QString& name) {
    return name.isEmpty() || name == u"." || name == u".." || name.contains(u'/') ||
           name.contains(u'\\') || name.contains(QChar(0)) || (name.size() >= 2 && name[1] == u':');
}

// The media map: JSON {"0": "name"} in older packages, zstd-compressed MediaEntries in newer
// ones, whose members are zstd-compressed too.
AnkiResult<std::vector<AnkiMediaFile>> readMediaMap(const AnkiArchive& archive) {
    std::vector<AnkiMediaFile> media;
    if (!archive.has(MediaMap)) {
        return media;
    }
    const AnkiResult<QByteArray> raw =
        archive.read(MediaMap, MemberCompression::None, MaxAnkiMediaMapBytes);
    if (!raw) {
        return unexpected(raw.error());
    }
    if (startsLikeZstd(*raw)) {
        const AnkiResult<QByteArray> bytes =
            archive.read(MediaMap, MemberCompression::Zstd, MaxAnkiMediaMapBytes);
        if (!bytes) {
            return unexpected(bytes.error());
        }
        const std::optional<std::vector<AnkiMediaEntry>> entries =
            parseMediaEntries(*bytes, MaxAnkiMediaFiles);
        if (!entries) {
            return ankiFailure(AnkiProblem::BadCollection, MediaMap);
        }
        for (const AnkiMediaEntry& entry : *entries) {
            media.push_back({entry.name, QString::number(entry.member.value_or(0)), true});
        }
    } else {
        const QJsonDocument document = QJsonDocument::fromJson(*raw);
        if (!document.isObject()) {
            return ankiFailure(AnkiProblem::BadCollection, MediaMap);
        }
        const QJsonObject map = document.object();
        if (map.size() > MaxAnkiMediaFiles) {
            return ankiFailure(AnkiProblem::TooLarge, MediaMap);
        }
        for (auto it = map.begin(); it != map.end(); ++it) {
            media.push_back({it.value().toString(), it.key(), false});
        }
    }
    for (const AnkiMediaFile& file : media) {
        if (namedLikePath(file.name)) {
            return ankiFailure(AnkiProblem::MediaNamedLikePath, file.name);
        }
    }
    return media;
}

}  // namespace

const AnkiMediaFile* AnkiPackage::mediaNamed(const QString& name) const {
    for (const AnkiMediaFile& file : media) {
        if (file.name == name) {
            return &file;
        }
    }
    return nullptr;
}

AnkiResult<AnkiPackage> readAnkiPackage(const QString& path, const QString& tempRoot) {
    AnkiResult<AnkiArchive> archive = AnkiArchive::open(path);
    if (!archive) {
        return unexpected(archive.error());
    }
    const AnkiResult<CollectionMember> member = chooseCollection(*archive);
    if (!member) {
        return unexpected(member.error());
    }
    AnkiResult<std::vector<AnkiMediaFile>> media = readMediaMap(*archive);
    if (!media) {
        return unexpected(media.error());
    }

    QTemporaryDir folder(QDir(tempRoot).filePath(QStringLiteral("renkari-anki-XXXXXX")));
    if (!folder.isValid()) {
        return unexpected(
            AnkiError{AnkiProblem::NoRoom, {FileErrorKind::Other, folder.errorString()}, tempRoot});
    }
    // A zstd member's size is known only once unpacked; the stored size is the least it takes.
    const qint64 needed = archive->declaredSize(member->name);
    if (needed > MaxAnkiUnpackedBytes) {
        return ankiFailure(AnkiProblem::TooLarge, member->name);
    }
    const QStorageInfo storage(folder.path());
    if (storage.isValid() && storage.bytesAvailable() < needed) {
        return unexpected(
            AnkiError{AnkiProblem::NoRoom, {FileErrorKind::NoSpace, {}}, folder.path()});
    }
    const QString target = folder.filePath(QStringLiteral("collection"));
    const qint64 cap = std::min(
        MaxAnkiUnpackedBytes, storage.isValid() ? storage.bytesAvailable() : MaxAnkiUnpackedBytes);
    if (const AnkiResult<void> unpacked =
            archive->extract(member->name, member->compression, cap, target);
        !unpacked) {
        AnkiError error = unpacked.error();
        // Beyond the room left rather than beyond the cap: the learner can make room.
        if (error.problem == AnkiProblem::TooLarge && cap < MaxAnkiUnpackedBytes) {
            error = {AnkiProblem::NoRoom, {FileErrorKind::NoSpace, {}}, folder.path()};
        }
        return unexpected(error);
    }
    AnkiResult<AnkiCollection> collection = readAnkiCollection(target);
    if (!collection) {
        AnkiError error = collection.error();
        if (error.detail.isEmpty()) {
            error.detail = member->name;
        }
        return unexpected(error);
    }
    return AnkiPackage{path, std::move(*collection), std::move(*media)};
}

AnkiResult<QByteArray> readAnkiMedia(const AnkiPackage& package, const AnkiMediaFile& file) {
    AnkiResult<AnkiArchive> archive = AnkiArchive::open(package.path);
    if (!archive) {
        return unexpected(archive.error());
    }
    if (!archive->has(file.member)) {
        return ankiFailure(AnkiProblem::NoCollection, file.name);
    }
    return archive->read(file.member, file.zstd ? MemberCompression::Zstd : MemberCompression::None,
                         MaxAnkiMediaBytes);
}
