// The members of an Anki package, read member by member through libzip and zstd.
#include "core/review/ankizip.h"

#include <QFile>

#include <zip.h>
#include <zstd.h>

#include <array>
#include <cerrno>
#include <optional>

namespace {

// Far more members than any package holds (one per media file); libzip keeps the directory in
// memory, so a forged count is refused before it is walked.
constexpr zip_int64_t MaxMembers = 1'000'000;
constexpr qsizetype Step = 64 * 1024;
// zstd's own default limit: frames that ask for a larger window are refused, not served.
constexpr int MaxWindowLog = 27;

struct ZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
struct ZstdCloser {
    void operator()(ZSTD_DCtx* context) const { ZSTD_freeDCtx(context); }
};

bool namedLikePath(const QString& name) {
    if (name.isEmpty() || name.startsWith(u'/') || name.contains(u'\\') ||
        name.contains(QChar(0))) {
        return true;
    }
    if (name.size() >= 2 && name[1] == u':') {
        return true;
    }
    const QStringList parts = name.split(u'/');
    return parts.contains(QStringLiteral("..")) || parts.contains(QStringLiteral("."));
}

// Feeds the zip member's bytes through zstd to the sink.
class ZstdSink {
public:
    ZstdSink(qint64 maxBytes, const std::function<bool(const char*, qsizetype)>& sink)
        : context_(ZSTD_createDCtx()), maxBytes_(maxBytes), sink_(sink) {
        if (context_) {
            ZSTD_DCtx_setParameter(context_.get(), ZSTD_d_windowLogMax, MaxWindowLog);
        }
    }

    std::optional<AnkiProblem> feed(const char* data, qsizetype size) {
        if (!context_) {
            return AnkiProblem::BadStream;
        }
        fed_ = fed_ || size > 0;
        ZSTD_inBuffer in{data, static_cast<size_t>(size), 0};
        while (in.pos < in.size) {
            ZSTD_outBuffer out{output_.data(), output_.size(), 0};
            left_ = ZSTD_decompressStream(context_.get(), &out, &in);
            if (ZSTD_isError(left_)) {
                return AnkiProblem::BadStream;
            }
            if (std::optional<AnkiProblem> problem = hand(out.pos)) {
                return problem;
            }
        }
        return std::nullopt;
    }

    // What zstd still holds back once every byte is in, and whether the last frame ended.
    std::optional<AnkiProblem> finish() {
        if (!context_) {
            return AnkiProblem::BadStream;
        }
        while (left_ != 0 && fed_) {
            ZSTD_inBuffer in{nullptr, 0, 0};
            ZSTD_outBuffer out{output_.data(), output_.size(), 0};
            left_ = ZSTD_decompressStream(context_.get(), &out, &in);
            if (ZSTD_isError(left_)) {
                return AnkiProblem::BadStream;
            }
            if (std::optional<AnkiProblem> problem = hand(out.pos)) {
                return problem;
            }
            if (out.pos == 0) {
                break;
            }
        }
        return left_ == 0 && fed_ ? std::nullopt : std::optional(AnkiProblem::BadStream);
    }

private:
    std::optional<AnkiProblem> hand(size_t produced) {
        total_ += static_cast<qint64>(produced);
        if (total_ > maxBytes_) {
            return AnkiProblem::TooLarge;
        }
        if (produced > 0 && !sink_(output_.data(), static_cast<qsizetype>(produced))) {
            return AnkiProblem::NoRoom;
        }
        return std::nullopt;
    }

    std::unique_ptr<ZSTD_DCtx, ZstdCloser> context_;
    qint64 maxBytes_;
    const std::function<bool(const char*, qsizetype)>& sink_;
    std::array<char, Step * 2> output_{};
    qint64 total_ = 0;
    size_t left_ = 1;
    bool fed_ = false;
};

}  // namespace

void AnkiArchive::Closer::operator()(zip* archive) const {
    zip_discard(archive);
}

AnkiResult<AnkiArchive> AnkiArchive::open(const QString& path) {
    if (const FileResult<void> regular = checkRegularFile(path); !regular) {
        return unexpected(AnkiError{AnkiProblem::File, regular.error(), {}});
    }
    int error = 0;
    std::unique_ptr<zip, Closer> archive(
        zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) {
        if (error == ZIP_ER_OPEN || error == ZIP_ER_READ || error == ZIP_ER_NOENT) {
            return unexpected(AnkiError{AnkiProblem::File, fileErrorOf(errno), {}});
        }
        return ankiFailure(AnkiProblem::NotZip);
    }
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count < 0 || count > MaxMembers) {
        return ankiFailure(AnkiProblem::NotZip);
    }
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive.get(), static_cast<zip_uint64_t>(i), 0);
        if (name == nullptr) {
            return ankiFailure(AnkiProblem::NotZip);
        }
        const QString text = QString::fromUtf8(name);
        if (namedLikePath(text)) {
            return ankiFailure(AnkiProblem::MemberNamedLikePath, text);
        }
    }
    return AnkiArchive(std::move(archive));
}

bool AnkiArchive::has(const QString& member) const {
    return zip_name_locate(archive_.get(), member.toUtf8().constData(), 0) >= 0;
}

qint64 AnkiArchive::declaredSize(const QString& member) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive_.get(), member.toUtf8().constData(), 0, &stat) != 0 ||
        (stat.valid & ZIP_STAT_SIZE) == 0) {
        return 0;
    }
    return static_cast<qint64>(std::min<zip_uint64_t>(stat.size, quint64(1) << 62));
}

AnkiResult<void> AnkiArchive::stream(
    const QString& member, MemberCompression compression, qint64 maxBytes,
    const std::function<bool(const char*, qsizetype)>& sink) const {
    const zip_int64_t index = zip_name_locate(archive_.get(), member.toUtf8().constData(), 0);
    if (index < 0) {
        return ankiFailure(AnkiProblem::NoCollection, member);
    }
    std::unique_ptr<zip_file_t, ZipFileCloser> file(
        zip_fopen_index(archive_.get(), static_cast<zip_uint64_t>(index), 0));
    if (!file) {
        return ankiFailure(AnkiProblem::NotZip, member);
    }
    std::optional<ZstdSink> zstd;
    if (compression == MemberCompression::Zstd) {
        zstd.emplace(maxBytes, sink);
    }
    std::array<char, Step> buffer{};
    qint64 total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), buffer.data(), buffer.size());
        if (got < 0) {
            // A member cut short, inflating to garbage or failing its checksum.
            return ankiFailure(AnkiProblem::NotZip, member);
        }
        if (got == 0) {
            break;
        }
        const auto size = static_cast<qsizetype>(got);
        if (zstd) {
            if (const std::optional<AnkiProblem> problem = zstd->feed(buffer.data(), size)) {
                return ankiFailure(*problem, member);
            }
            continue;
        }
        total += size;
        if (total > maxBytes) {
            return ankiFailure(AnkiProblem::TooLarge, member);
        }
        if (!sink(buffer.data(), size)) {
            return ankiFailure(AnkiProblem::NoRoom, member);
        }
    }
    if (zstd) {
        if (const std::optional<AnkiProblem> problem = zstd->finish()) {
            return ankiFailure(*problem, member);
        }
    }
    return {};
}

AnkiResult<QByteArray> AnkiArchive::read(const QString& member, MemberCompression compression,
                                         qint64 maxBytes) const {
    QByteArray bytes;
    const AnkiResult<void> done =
        stream(member, compression, maxBytes, [&bytes](const char* data, qsizetype size) {
            bytes.append(data, size);
            return true;
        });
    if (!done) {
        return unexpected(done.error());
    }
    return bytes;
}

AnkiResult<void> AnkiArchive::extract(const QString& member, MemberCompression compression,
                                      qint64 maxBytes, const QString& target) const {
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return unexpected(AnkiError{AnkiProblem::NoRoom, fileErrorOf(errno), target});
    }
    FileError writeError;
    const AnkiResult<void> done =
        stream(member, compression, maxBytes, [&](const char* data, qsizetype size) {
            if (file.write(data, size) == size) {
                return true;
            }
            writeError = fileErrorOf(errno);
            return false;
        });
    if (!done) {
        AnkiError error = done.error();
        if (error.problem == AnkiProblem::NoRoom) {
            error.file = writeError;
        }
        return unexpected(error);
    }
    if (!file.flush()) {
        return unexpected(AnkiError{AnkiProblem::NoRoom, fileErrorOf(errno), target});
    }
    return {};
}

bool startsLikeZstd(const QByteArray& bytes) {
    return bytes.startsWith(QByteArrayLiteral("\x28\xB5\x2F\xFD"));
}
