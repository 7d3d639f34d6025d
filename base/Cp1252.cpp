#include "base/Cp1252.h"

#include <array>

namespace etibarix::base {
namespace {

// 0x80..0x9F; the undefined positions keep their C1 control code.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t decode(unsigned char b)
{
    return (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char16_t(b);
}

std::optional<char> encode(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

} // namespace

QString fromCp1252(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(decode(static_cast<unsigned char>(bytes[i])));
    return out;
}

void appendCp1252AsUtf8(QByteArray &out, QByteArrayView bytes)
{
    // Runs of ASCII, most of any text, go over in one piece.
    qsizetype from = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80)
            continue;
        out.append(bytes.sliced(from, i - from));
        const char16_t c = decode(b);
        if (c < 0x800) {
            const char two[] = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
            out.append(two, 2);
        } else {
            const char three[] = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                static_cast<char>(0x80 | (c & 0x3F))};
            out.append(three, 3);
        }
        from = i + 1;
    }
    out.append(bytes.sliced(from));
}

std::optional<QByteArray> toCp1252(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const auto b = encode(c.unicode());
        if (!b)
            return std::nullopt;
        out.append(*b);
    }
    return out;
}

QByteArray toCp1252Lossy(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(encode(c.unicode()).value_or('?'));
    return out;
}

} // namespace etibarix::base
