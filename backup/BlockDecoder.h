#pragma once
// Decodes a batch of archive blocks read ahead from one data section. Blocks
// are independent zlib streams, so the compressed ones of a batch are inflated
// on two threads when the machine has two cores; the caller then writes the
// results in archive order, exactly as a one-by-one reader would.

#include <zlib.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace etibarix::backup {

class BlockDecoder {
public:
    static constexpr int BlockSize = 16384;
    static constexpr int BatchBlocks = 32;

    struct Result {
        const char *bytes = nullptr;
        std::int64_t size = 0;   // bytes of file data (output produced so far on failure)
        bool ok = true;          // false: a zlib failure (not one complete stream of at most BlockSize bytes)
    };

    BlockDecoder();
    ~BlockDecoder();
    BlockDecoder(const BlockDecoder &) = delete;
    BlockDecoder &operator=(const BlockDecoder &) = delete;

    // Where block i's abs(length) stored bytes go before decode().
    char *input(int i) { return m_input.data() + std::size_t(i) * BlockSize; }
    void setLength(int i, std::int32_t length) { m_lengths[std::size_t(i)] = length; }
    void decode(int count);
    Result result(int i) const;

private:
    struct Stream {
        z_stream z{};
        bool ready = false;
    };
    void decodeShare(Stream &stream, int count);
    void inflateOne(Stream &stream, int i);

    std::vector<char> m_input;
    std::vector<char> m_output;
    std::vector<std::int32_t> m_lengths;
    std::vector<std::int64_t> m_produced;
    std::vector<char> m_ok;
    Stream m_streams[2];
    bool m_useThread;
    struct Shared;
    std::unique_ptr<Shared> m_shared;
};

} // namespace etibarix::backup
