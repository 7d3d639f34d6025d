#pragma once
// One chunk of file data as an archive block: a complete zlib stream (level as
// chosen, 15-bit window, memory level 8, default strategy) produced into an
// output buffer of the chunk size in one finishing call. A chunk whose stream
// does not end inside that buffer is stored unchanged.

#include <zlib.h>

namespace etibarix::backup {

class ChunkCompressor {
public:
    static constexpr int ChunkSize = 16384;

    explicit ChunkCompressor(int zlibLevel);
    ~ChunkCompressor();
    ChunkCompressor(const ChunkCompressor &) = delete;
    ChunkCompressor &operator=(const ChunkCompressor &) = delete;

    // Encodes size (1..ChunkSize) bytes of in. Returns the block length L:
    // > 0 when out holds L compressed bytes, < 0 (= -size) when the chunk is
    // to be stored unchanged, 0 when zlib failed. out holds ChunkSize bytes.
    int compress(const char *in, int size, char *out);

private:
    z_stream m_stream{};
    int m_level;
    bool m_ready = false;
};

} // namespace etibarix::backup
