#include "backup/ChunkCompressor.h"

namespace etibarix::backup {

ChunkCompressor::ChunkCompressor(int zlibLevel) : m_level(zlibLevel) {}

ChunkCompressor::~ChunkCompressor()
{
    if (m_ready)
        deflateEnd(&m_stream);
}

int ChunkCompressor::compress(const char *in, int size, char *out)
{
    // Every chunk gets a fresh stream; deflateReset is documented to be
    // equivalent to ending the stream and initialising a new one with the
    // same parameters, without reallocating the state.
    if (!m_ready) {
        if (deflateInit2(&m_stream, m_level, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            return 0;
        m_ready = true;
    } else if (deflateReset(&m_stream) != Z_OK) {
        return 0;
    }
    // zlib's interface is not const-correct; it never writes through next_in.
    m_stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in));
    m_stream.avail_in = uInt(size);
    m_stream.next_out = reinterpret_cast<Bytef *>(out);
    m_stream.avail_out = uInt(ChunkSize);
    const int rc = deflate(&m_stream, Z_FINISH);
    if (rc == Z_STREAM_END)
        return int(ChunkSize - m_stream.avail_out);
    // Output buffer full before the end of the stream.
    if ((rc == Z_OK || rc == Z_BUF_ERROR) && m_stream.avail_out == 0)
        return -size;
    return 0;
}

} // namespace etibarix::backup
