#pragma once
// Reads a file ahead in batches of chunks and encodes them into archive
// blocks. Blocks do not depend on one another nor on where they land in the
// archive, so a batch is compressed on two threads when the machine has two
// cores, and the blocks come out exactly as a one-by-one encoder gives them.

#include "backup/ChunkCompressor.h"

#include <memory>
#include <vector>

class QIODevice;

namespace etibarix::backup {

class BlockEncoder {
public:
    enum class Status { Ok, End, ReadError, CompressError };

    struct Block {
        int chunkSize = 0;        // file bytes the block holds
        int length = 0;           // L as written: > 0 compressed, < 0 stored
        const char *bytes = nullptr;   // abs(length) bytes, valid until the next call
    };

    explicit BlockEncoder(int zlibLevel);
    ~BlockEncoder();

    // Starts on a file opened for reading; nothing of it has been read yet.
    void start(QIODevice *file);
    // True while blocks of the current file remain (a pending read error counts).
    bool bytesRemain() const;
    // The next block, or why there is none.
    Status next(Block &block);

private:
    void refill();
    void encodeRange(ChunkCompressor &compressor);

    static constexpr int BatchChunks = 16;

    int m_level;
    std::vector<std::unique_ptr<ChunkCompressor>> m_compressors;
    QIODevice *m_file = nullptr;
    std::vector<char> m_input;
    std::vector<char> m_output;
    std::vector<int> m_sizes;
    std::vector<int> m_lengths;
    int m_count = 0;         // chunks in the batch
    int m_index = 0;         // next chunk to hand out
    bool m_readError = false; // a read failed right after the batch's last chunk
    bool m_useThread = false;
    struct Shared;
    std::unique_ptr<Shared> m_shared;
};

} // namespace etibarix::backup
