#include "labels/project/Lzw.h"

#include "base/Error.h"
#include "labels/project/ProjectReader.h"

#include <array>
#include <cstdint>
#include <vector>

namespace etibarix::labels {
namespace {

constexpr int TableSize = 1 << Lzw::MaxBits;

// Reads codes of a variable width, highest bit of each byte first.
class BitReader {
public:
    explicit BitReader(QByteArrayView data) : m_data(data) {}

    int read(int width)
    {
        while (m_bits < width) {
            if (m_pos >= m_data.size())
                throw base::Error(ProjectReader::streamReadError());
            m_buffer = (m_buffer << 8) | static_cast<std::uint8_t>(m_data[m_pos++]);
            m_bits += 8;
        }
        m_bits -= width;
        const int code = static_cast<int>((m_buffer >> m_bits) & ((1u << width) - 1));
        m_buffer &= (1u << m_bits) - 1;
        return code;
    }

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
    std::uint32_t m_buffer = 0;
    int m_bits = 0;
};

} // namespace

QByteArray Lzw::decode(QByteArrayView data)
{
    // Entry c is its prefix's string followed by m_suffix[c]; the first byte
    // and length are kept so that a string can be written back to front
    // straight into the output.
    std::vector<std::uint16_t> prefix(TableSize);
    std::vector<std::uint8_t> suffix(TableSize);
    std::vector<std::uint8_t> first(TableSize);
    std::vector<std::uint16_t> length(TableSize);
    for (int c = 0; c < 256; ++c) {
        suffix[c] = static_cast<std::uint8_t>(c);
        first[c] = static_cast<std::uint8_t>(c);
        length[c] = 1;
    }

    QByteArray out;
    out.reserve(std::min<qsizetype>(data.size() * 4, MaxOutput));
    BitReader bits(data);
    int width = MinBits;
    int last = EndCode;
    int previous = -1; // -1: the next code must be a single byte

    const auto append = [&](int code) {
        const qsizetype n = length[code];
        if (out.size() + n > MaxOutput)
            throw base::Error(ProjectReader::streamReadError());
        const qsizetype end = out.size() + n;
        out.resize(end);
        char *p = out.data() + end;
        for (int c = code;; c = prefix[c]) {
            *--p = static_cast<char>(suffix[c]);
            if (c < 256)
                break;
        }
    };

    for (;;) {
        const int code = bits.read(width);
        if (code == EndCode)
            break;
        if (code == ClearCode) {
            width = MinBits;
            last = EndCode;
            previous = -1;
            continue;
        }
        if (previous < 0) {
            if (code > 255)
                throw base::Error(ProjectReader::streamReadError());
            append(code);
            previous = code;
            continue;
        }
        if (code > last + 1)
            throw base::Error(ProjectReader::streamReadError());
        std::uint8_t f;
        if (code <= last) {
            append(code);
            f = first[code];
        } else {
            // The code being defined by this very step: the previous string
            // followed by its own first byte.
            f = first[previous];
            append(previous);
            if (out.size() + 1 > MaxOutput)
                throw base::Error(ProjectReader::streamReadError());
            out.append(static_cast<char>(f));
        }
        const int next = last + 1;
        if (next == (1 << width) - 1) {
            if (width == MaxBits)
                throw base::Error(QStringLiteral("Hash Table overflow."));
            ++width;
        }
        prefix[next] = static_cast<std::uint16_t>(previous);
        suffix[next] = f;
        first[next] = first[previous];
        length[next] = static_cast<std::uint16_t>(length[previous] + 1);
        last = next;
        previous = code;
    }
    return out;
}

} // namespace etibarix::labels
