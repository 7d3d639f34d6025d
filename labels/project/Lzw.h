#pragma once
// Decompression of the LZW blocks (method 2) of report project streams.
//
// The compressor works on 8-bit symbols with codes of 9 to 13 bits, packed
// most significant bit first. Code 256 clears the dictionary, 257 ends the
// data; new entries are numbered from 258. The code width grows by one bit
// as soon as the number just assigned equals 2^width - 1; at 13 bits the
// dictionary cannot grow, and the compressor clears it before that happens.

#include <QByteArray>
#include <QByteArrayView>

namespace etibarix::labels {

class Lzw {
public:
    static constexpr int ClearCode = 256;
    static constexpr int EndCode = 257;
    static constexpr int FirstFreeCode = 258;
    static constexpr int MinBits = 9;
    static constexpr int MaxBits = 13;
    // A safety bound on one block's decompressed size: the shipped blocks
    // are below 50 KB, and a hostile block could otherwise expand about
    // 2500-fold.
    static constexpr qsizetype MaxOutput = 32 * 1024 * 1024;

    // Decompresses a whole block. Throws base::Error: "Hash Table overflow."
    // when the dictionary would grow past 13 bits, the stream read error for
    // data that ends before the end code, codes beyond the dictionary and
    // output past MaxOutput.
    static QByteArray decode(QByteArrayView data);
};

} // namespace etibarix::labels
