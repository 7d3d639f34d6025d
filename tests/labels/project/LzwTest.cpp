// LZW blocks: round trips through the test compressor (the KwKwK case,
// 13-bit codes, clear codes in the middle and several in a row) and damaged
// code streams.

#include "base/Error.h"
#include "labels/project/Lzw.h"
#include "tests/labels/project/ProjectStreamWriter.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using namespace etibarix;
using labels::Lzw;
using test::BitWriter;
using test::LzwOptions;
using test::lzwCompress;

namespace {

QByteArray randomText(int size, quint32 seed, int alphabet)
{
    QRandomGenerator rng(seed);
    QByteArray out;
    out.reserve(size);
    for (int i = 0; i < size; ++i)
        out.append(char(rng.bounded(alphabet)));
    return out;
}

QString errorOf(QByteArrayView data)
{
    try {
        Lzw::decode(data);
    } catch (const base::Error &e) {
        return e.text();
    }
    return QStringLiteral("no error");
}

QByteArray codes(std::initializer_list<std::pair<int, int>> list)
{
    BitWriter w;
    for (auto [code, width] : list)
        w.put(code, width);
    return w.finish();
}

} // namespace

TEST(Lzw, RoundTrips)
{
    struct Case {
        const char *what;
        QByteArray data;
        LzwOptions options;
    };
    const std::vector<Case> cases = {
        {"empty", {}, {}},
        {"one byte", QByteArray("x"), {}},
        {"KwKwK", QByteArray(50, 'a'), {}},
        {"KwKwK pairs", QByteArray("abababababababababab"), {}},
        {"all byte values", randomText(3000, 1, 256), {}},
        {"13-bit codes, clears at the limit", randomText(200000, 2, 256), {}},
        {"repetitive, 13-bit codes", randomText(300000, 3, 4), {}},
        {"mid-stream clears", randomText(20000, 4, 16), {300, 1, false}},
        {"clear codes in a row", randomText(20000, 5, 16), {600, 3, false}},
        {"clear right after the first code", randomText(500, 6, 3), {258, 2, false}},
    };
    for (const Case &c : cases) {
        const QByteArray packed = lzwCompress(c.data, c.options);
        QByteArray unpacked;
        EXPECT_NO_THROW(unpacked = Lzw::decode(packed)) << c.what;
        EXPECT_EQ(unpacked, c.data) << c.what;
    }
}

TEST(Lzw, KwKwKCodeIsPreviousStringPlusItsFirstByte)
{
    // clear, 'a', 258 (the number being defined), end: "a" + "aa".
    const QByteArray data = codes({{256, 9}, {'a', 9}, {258, 9}, {257, 9}});
    EXPECT_EQ(Lzw::decode(data), QByteArray("aaa"));
}

TEST(Lzw, CodeWidthGrowsWhenTheLastNumberFillsTheWidth)
{
    // 253 literals after 'a' assign 258..510; the code that assigns 511
    // is the last one read with 9 bits.
    BitWriter w;
    w.put(256, 9);
    w.put('a', 9);
    QByteArray expected("a");
    for (int i = 0; i < 254; ++i) {
        w.put('b', 9);
        expected.append('b');
    }
    // 511 has just been assigned: the next code takes 10 bits.
    w.put('c', 10);
    w.put(257, 10);
    expected.append('c');
    EXPECT_EQ(Lzw::decode(w.finish()), expected);
}

TEST(Lzw, OverflowPastThirteenBits)
{
    LzwOptions o;
    o.overflow = true;
    EXPECT_EQ(errorOf(lzwCompress(randomText(200000, 7, 256), o)), QStringLiteral("Hash Table overflow."));
}

TEST(Lzw, DamagedCodeStreams)
{
    const QString readError = QStringLiteral("Stream read error");
    const QByteArray good = lzwCompress(randomText(5000, 8, 20));
    struct Case {
        const char *what;
        QByteArray data;
    };
    const std::vector<Case> cases = {
        {"nothing", {}},
        {"no end code", good.left(good.size() - 3)},
        {"code beyond the dictionary", codes({{256, 9}, {'a', 9}, {300, 9}, {257, 9}})},
        {"a string code right after a clear", codes({{256, 9}, {258, 9}, {257, 9}})},
        {"no literal after the clear", codes({{256, 9}, {259, 9}})},
    };
    for (const Case &c : cases)
        EXPECT_EQ(errorOf(c.data), readError) << c.what;
    // Every prefix of a valid block fails cleanly.
    for (qsizetype n = 0; n < good.size() - 1; n += 7)
        EXPECT_EQ(errorOf(good.left(n)), readError) << n;
}

TEST(Lzw, OutputIsBounded)
{
    // A run of one byte expands about a thousandfold: a small block may not
    // make the decoder fill the memory.
    const QByteArray packed = lzwCompress(QByteArray(Lzw::MaxOutput + 1, 'z'));
    EXPECT_LT(packed.size(), 200 * 1024);
    EXPECT_EQ(errorOf(packed), QStringLiteral("Stream read error"));
}
