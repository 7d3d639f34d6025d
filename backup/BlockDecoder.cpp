#include "backup/BlockDecoder.h"

#include <atomic>
#include <system_error>
#include <thread>

namespace etibarix::backup {

struct BlockDecoder::Shared {
    std::atomic<int> next{0};
};

BlockDecoder::BlockDecoder()
    : m_input(std::size_t(BatchBlocks) * BlockSize),
      m_output(std::size_t(BatchBlocks) * BlockSize),
      m_lengths(BatchBlocks),
      m_produced(BatchBlocks),
      m_ok(BatchBlocks),
      m_useThread(std::thread::hardware_concurrency() >= 2),
      m_shared(std::make_unique<Shared>())
{
}

BlockDecoder::~BlockDecoder()
{
    for (Stream &s : m_streams) {
        if (s.ready)
            inflateEnd(&s.z);
    }
}

void BlockDecoder::decode(int count)
{
    int compressed = 0;
    for (int i = 0; i < count; ++i)
        compressed += m_lengths[std::size_t(i)] > 0 ? 1 : 0;
    m_shared->next = 0;
    std::thread helper;
    if (m_useThread && compressed > 1) {
        // Without a second thread (resources exhausted) this one does it all.
        try {
            helper = std::thread([this, count] { decodeShare(m_streams[1], count); });
        } catch (const std::system_error &) {
        }
    }
    decodeShare(m_streams[0], count);
    if (helper.joinable())
        helper.join();
}

void BlockDecoder::decodeShare(Stream &stream, int count)
{
    for (int i = m_shared->next++; i < count; i = m_shared->next++) {
        if (m_lengths[std::size_t(i)] > 0) {
            inflateOne(stream, i);
        } else {
            m_produced[std::size_t(i)] = -std::int64_t(m_lengths[std::size_t(i)]);
            m_ok[std::size_t(i)] = 1;
        }
    }
}

void BlockDecoder::inflateOne(Stream &stream, int i)
{
    const auto index = std::size_t(i);
    m_produced[index] = 0;
    m_ok[index] = 0;
    // A new stream for every block; inflateReset is equivalent and keeps the memory.
    const int rc = stream.ready ? inflateReset(&stream.z) : inflateInit(&stream.z);
    if (rc != Z_OK)
        return;
    stream.ready = true;
    stream.z.next_in = reinterpret_cast<Bytef *>(m_input.data() + index * BlockSize);
    stream.z.avail_in = uInt(m_lengths[index]);
    stream.z.next_out = reinterpret_cast<Bytef *>(m_output.data() + index * BlockSize);
    stream.z.avail_out = uInt(BlockSize);
    const int end = inflate(&stream.z, Z_FINISH);
    m_produced[index] = BlockSize - std::int64_t(stream.z.avail_out);
    // One complete stream filling the block, its check verified, within the chunk size.
    m_ok[index] = end == Z_STREAM_END && stream.z.avail_in == 0 ? 1 : 0;
}

BlockDecoder::Result BlockDecoder::result(int i) const
{
    const auto index = std::size_t(i);
    const bool stored = m_lengths[index] < 0;
    return Result{(stored ? m_input.data() : m_output.data()) + index * BlockSize, m_produced[index],
                  m_ok[index] != 0};
}

} // namespace etibarix::backup
