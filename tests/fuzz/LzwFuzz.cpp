// The LZW block decoder alone: any bytes decode or fail with the reader's
// error, never beyond the output bound; and what the compressor of the
// tests makes of the input (with clear codes where the first byte says)
// decodes back to the input exactly.

#include "base/Error.h"
#include "labels/project/Lzw.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/labels/project/ProjectStreamWriter.h"

using namespace etibarix;

ETIBARIX_FUZZ_TARGET(lzw)
{
    try {
        const QByteArray out = labels::Lzw::decode(input);
        FUZZ_CHECK(out.size() <= labels::Lzw::MaxOutput, QStringLiteral("output of %1 bytes").arg(out.size()));
    } catch (const base::Error &) {
    }

    fuzz::InputReader reader(input);
    const std::uint8_t options = reader.byte();
    test::LzwOptions lzw;
    // Clear limits from 258 (a clear after every new entry) up to the largest.
    lzw.clearLimit = options & 0x80 ? 8190 : 258 + (options & 0x7F) * 61;
    lzw.clearsInARow = 1 + (options >> 5 & 0x3) / 2;
    const QByteArrayView data = reader.rest();
    const QByteArray packed = test::lzwCompress(data, lzw);
    QByteArray unpacked;
    try {
        unpacked = labels::Lzw::decode(packed);
    } catch (const base::Error &e) {
        fuzz::fail(__FILE__, __LINE__, "decode of a valid block", e.text());
    }
    FUZZ_CHECK(unpacked == data, QStringLiteral("round trip of %1 bytes gave %2").arg(data.size()).arg(unpacked.size()));
}

ETIBARIX_FUZZ_SEEDS(lzw)
{
    // Blocks as the compressor makes them: text with repeats, a run long
    // enough to reach 13-bit codes, and one with clear codes in the middle.
    QByteArray text;
    for (int i = 0; i < 40; ++i)
        text += "TRaveDataText DataText" + QByteArray::number(i) + " param.cbliba" + QByteArray::number(i % 7) + ' ';
    QByteArray run;
    for (int i = 0; i < 30000; ++i)
        run += static_cast<char>(i * i >> 3 & 0xFF);
    test::LzwOptions clears;
    clears.clearLimit = 300;
    clears.clearsInARow = 2;
    return {
        {QStringLiteral("text.lzw"), test::lzwCompress(text)},
        {QStringLiteral("wide.lzw"), test::lzwCompress(run)},
        {QStringLiteral("clears.lzw"), test::lzwCompress(text, clears)},
        {QStringLiteral("plain-text"), QByteArray(1, '\x80') + text},
    };
}
