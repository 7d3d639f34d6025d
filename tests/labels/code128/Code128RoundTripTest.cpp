// Every symbol the encoder produces must read back as its text: random texts
// are encoded in every mode and decoded by an independent reader of symbol
// values written from the code set tables of the standard.

#include "labels/code128/Code128Symbol.h"

#include <gtest/gtest.h>

#include <random>

using namespace etibarix::labels;

namespace {

// Reads symbol values as a barcode reader does. Function characters come
// back as their escape bytes (0xF1 to 0xF4); set changes leave no trace.
// Returns false for a value that is not valid where it stands.
bool decode(const std::vector<std::uint8_t> &values, CodeSet start, QByteArray &out)
{
    CodeSet set = start;
    bool shifted = false;
    for (const std::uint8_t v : values) {
        if (v > 102)
            return false;
        const CodeSet current = shifted ? (set == CodeSet::A ? CodeSet::B : CodeSet::A) : set;
        const bool wasShifted = shifted;
        shifted = false;
        if (current == CodeSet::C) {
            if (v < 100) {
                out.append(static_cast<char>('0' + v / 10));
                out.append(static_cast<char>('0' + v % 10));
            } else if (v == 100) {
                set = CodeSet::B;
            } else if (v == 101) {
                set = CodeSet::A;
            } else {
                out.append('\xF1');
            }
            continue;
        }
        if (v < 96) {
            if (current == CodeSet::A)
                out.append(static_cast<char>(v < 64 ? v + 0x20 : v - 64));
            else
                out.append(static_cast<char>(v + 0x20));
            continue;
        }
        if (wasShifted)
            return false;   // only data may follow a SHIFT
        switch (v) {
        case 96: out.append('\xF3'); break;
        case 97: out.append('\xF2'); break;
        case 98: shifted = true; break;
        case 99: set = CodeSet::C; break;
        case 100:
            if (current == CodeSet::A)
                set = CodeSet::B;
            else
                out.append('\xF4');
            break;
        case 101:
            if (current == CodeSet::A)
                out.append('\xF4');
            else
                set = CodeSet::A;
            break;
        default: out.append('\xF1'); break;
        }
    }
    return !shifted;
}

QByteArray randomText(std::mt19937 &rng)
{
    // Weighted towards digit runs, where the set choice is subtle.
    static const QByteArray pool = QByteArray("0123456789012345678901234567890123456789"
                                              "ABCXYZ abcxyz{}~\x7f")
        + QByteArray("\x00\x01\x1f\t\r", 5) + QByteArray("\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xE9\x80\xFF\xF0\xF9");
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(pool.size()) - 1);
    QByteArray text;
    const int n = length(rng);
    for (int i = 0; i < n; ++i)
        text.append(pool.at(pick(rng)));
    return text;
}

TEST(Code128RoundTrip, RandomTextsReadBackInEveryMode)
{
    std::mt19937 rng(20261209);
    for (int round = 0; round < 20000; ++round) {
        const QByteArray raw = randomText(rng);
        Code128Symbol symbol;
        symbol.FilterBarText(raw);
        // What a reader must see: the kept bytes without the set changes
        // and shifts, which only steer the encoding.
        QByteArray expected = symbol.BarcodeText();
        expected.removeIf([](char c) {
            const auto b = static_cast<unsigned char>(c);
            return b >= Code128Symbol::kCodeA && b <= Code128Symbol::kShift;
        });

        for (const bool optimize : {true, false}) {
            for (const CodePage128 page : {CodePage128::cpCodeA, CodePage128::cpCodeB, CodePage128::cpCodeC}) {
                symbol.setOptimize(optimize);
                symbol.setCodePage(page);
                const Code128Encoding e = symbol.EncodeSymbol();
                QByteArray decoded;
                ASSERT_TRUE(decode(e.values, e.startSet, decoded))
                    << "invalid symbol for " << raw.toHex().constData() << " optimize " << optimize;
                ASSERT_EQ(decoded.toHex(), expected.toHex())
                    << "text " << raw.toHex().constData() << " optimize " << optimize << " page " << int(page);
                ASSERT_EQ(e.checkValue, Code128Symbol::CheckValue(e.values, e.startSet));
                if (optimize) {
                    for (const CodeSet set : {CodeSet::A, CodeSet::B, CodeSet::C})
                        ASSERT_LE(e.values.size(), symbol.EncodeFromSet(set).size());
                }
            }
        }
    }
}

} // namespace
