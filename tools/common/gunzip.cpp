// zlib inflate with gzip framing, grown in chunks and bounded.
#include "gunzip.h"

#include <zlib.h>

#include <memory>

namespace {

struct InflateEnd {
    void operator()(z_stream* stream) const { inflateEnd(stream); }
};

}  // namespace

std::optional<QByteArray> gunzip(const QByteArray& compressed, qsizetype maxBytes) {
    z_stream stream{};
    // 16 + MAX_WBITS asks zlib for the gzip header and trailer instead of a raw zlib stream.
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
        return std::nullopt;
    }
    const std::unique_ptr<z_stream, InflateEnd> guard(&stream);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.constData()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    if (static_cast<qsizetype>(stream.avail_in) != compressed.size()) {
        return std::nullopt;
    }

    constexpr qsizetype kChunk = qsizetype(1) << 20;
    QByteArray out;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        const qsizetype used = out.size();
        // One byte beyond the limit tells "exactly maxBytes" apart from "more".
        if (used > maxBytes) {
            return std::nullopt;
        }
        const qsizetype room = std::min(kChunk, maxBytes + 1 - used);
        out.resize(used + room);
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + used);
        stream.avail_out = static_cast<uInt>(room);
        status = inflate(&stream, Z_NO_FLUSH);
        out.resize(used + room - static_cast<qsizetype>(stream.avail_out));
        if (status != Z_OK && status != Z_STREAM_END) {
            return std::nullopt;
        }
        if (status == Z_OK && stream.avail_in == 0 && stream.avail_out != 0) {
            return std::nullopt;  // input ended before the gzip trailer
        }
    }
    if (out.size() > maxBytes) {
        return std::nullopt;
    }
    return out;
}
