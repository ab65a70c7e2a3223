#include "clap/state_stream.h"

bool writeWholeState(const clap_ostream_t* stream, const std::vector<std::uint8_t>& bytes) {
    if (stream == nullptr || stream->write == nullptr) return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const std::int64_t count = stream->write(stream, bytes.data() + written, bytes.size() - written);
        if (count <= 0) return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
}

bool readWholeState(const clap_istream_t* stream, std::vector<std::uint8_t>& bytes) {
    if (stream == nullptr || stream->read == nullptr) return false;
    constexpr std::size_t kChunkBytes = 4096;
    bytes.clear();
    std::uint8_t chunk[kChunkBytes];
    for (;;) {
        const std::int64_t count = stream->read(stream, chunk, kChunkBytes);
        if (count == 0) return true;
        if (count < 0 || static_cast<std::uint64_t>(count) > kChunkBytes) return false;
        if (bytes.size() + static_cast<std::size_t>(count) > kMaxStateBytes) return false;
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
}
