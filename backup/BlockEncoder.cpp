#include "backup/BlockEncoder.h"

#include <QIODevice>

#include <atomic>
#include <system_error>
#include <thread>

namespace etibarix::backup {

struct BlockEncoder::Shared {
    std::atomic<int> nextChunk{0};
};

BlockEncoder::BlockEncoder(int zlibLevel)
    : m_level(zlibLevel),
      m_input(std::size_t(BatchChunks) * ChunkCompressor::ChunkSize),
      m_output(std::size_t(BatchChunks) * ChunkCompressor::ChunkSize),
      m_sizes(BatchChunks),
      m_lengths(BatchChunks),
      m_useThread(std::thread::hardware_concurrency() >= 2),
      m_shared(std::make_unique<Shared>())
{
    m_compressors.push_back(std::make_unique<ChunkCompressor>(m_level));
    if (m_useThread)
        m_compressors.push_back(std::make_unique<ChunkCompressor>(m_level));
}

BlockEncoder::~BlockEncoder() = default;

void BlockEncoder::start(QIODevice *file)
{
    m_file = file;
    m_count = 0;
    m_index = 0;
    m_readError = false;
}

bool BlockEncoder::bytesRemain() const
{
    return m_index < m_count || m_readError || (m_file && !m_file->atEnd());
}

BlockEncoder::Status BlockEncoder::next(Block &block)
{
    if (m_index == m_count) {
        if (m_readError)
            return Status::ReadError;
        refill();
        if (m_count == 0)
            return m_readError ? Status::ReadError : Status::End;
    }
    const int i = m_index++;
    block.chunkSize = m_sizes[std::size_t(i)];
    block.length = m_lengths[std::size_t(i)];
    if (block.length == 0)
        return Status::CompressError;
    block.bytes = block.length > 0 ? m_output.data() + std::size_t(i) * ChunkCompressor::ChunkSize
                                   : m_input.data() + std::size_t(i) * ChunkCompressor::ChunkSize;
    return Status::Ok;
}

void BlockEncoder::refill()
{
    m_count = 0;
    m_index = 0;
    char *in = m_input.data();
    while (m_count < BatchChunks) {
        const qint64 n = m_file->read(in + std::size_t(m_count) * ChunkCompressor::ChunkSize, ChunkCompressor::ChunkSize);
        if (n < 0) {
            m_readError = true;
            break;
        }
        if (n == 0)
            break;
        m_sizes[std::size_t(m_count++)] = int(n);
        if (n < ChunkCompressor::ChunkSize)
            break;
    }
    if (m_count == 0)
        return;
    m_shared->nextChunk = 0;
    std::thread helper;
    if (m_useThread && m_count > 1) {
        // Without a second thread (resources exhausted) this one does it all.
        try {
            helper = std::thread([this] { encodeRange(*m_compressors[1]); });
        } catch (const std::system_error &) {
        }
    }
    encodeRange(*m_compressors[0]);
    if (helper.joinable())
        helper.join();
}

void BlockEncoder::encodeRange(ChunkCompressor &compressor)
{
    const char *in = m_input.data();
    char *out = m_output.data();
    for (int i = m_shared->nextChunk++; i < m_count; i = m_shared->nextChunk++) {
        const std::size_t offset = std::size_t(i) * ChunkCompressor::ChunkSize;
        m_lengths[std::size_t(i)] = compressor.compress(in + offset, m_sizes[std::size_t(i)], out + offset);
    }
}

} // namespace etibarix::backup
