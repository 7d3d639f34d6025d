#include "labels/code128/Code128Symbol.h"

#include "base/Cp1252.h"
#include "labels/code128/Code128Patterns.h"

namespace etibarix::labels {
namespace {

using Byte = unsigned char;

// Symbol values of the set-changing characters in each set.
constexpr std::uint8_t kValShift = 98;
constexpr std::uint8_t kValCodeC = 99;
constexpr std::uint8_t kValCodeB = 100;   // in sets A and C
constexpr std::uint8_t kValCodeA = 101;   // in sets B and C
constexpr std::uint8_t kValFnc1 = 102;

bool isDigit(Byte c)
{
    return c >= '0' && c <= '9';
}

// Value of a byte in set A, or -1 when set A cannot hold it.
int valueA(Byte c)
{
    if (c < 0x20)
        return c + 64;
    if (c < 0x60)
        return c - 0x20;
    switch (c) {
    case Code128Symbol::kFnc3: return 96;
    case Code128Symbol::kFnc2: return 97;
    case Code128Symbol::kShift: return 98;
    case Code128Symbol::kCodeC: return 99;
    case Code128Symbol::kCodeB: return 100;
    case Code128Symbol::kFnc4: return 101;
    case Code128Symbol::kFnc1: return 102;
    default: return -1;
    }
}

// Value of a byte in set B, or -1 when set B cannot hold it.
int valueB(Byte c)
{
    if (c >= 0x20 && c < 0x80)
        return c - 0x20;
    switch (c) {
    case Code128Symbol::kFnc3: return 96;
    case Code128Symbol::kFnc2: return 97;
    case Code128Symbol::kShift: return 98;
    case Code128Symbol::kCodeC: return 99;
    case Code128Symbol::kFnc4: return 100;
    case Code128Symbol::kCodeA: return 101;
    case Code128Symbol::kFnc1: return 102;
    default: return -1;
    }
}

int valueIn(CodeSet set, Byte c)
{
    return set == CodeSet::A ? valueA(c) : valueB(c);
}

// Value of the character that changes to set `to`; the same in every set
// that has it.
std::uint8_t codeValue(CodeSet to)
{
    return to == CodeSet::C ? kValCodeC : to == CodeSet::B ? kValCodeB : kValCodeA;
}

qsizetype digitRun(const Byte *t, qsizetype i, qsizetype n)
{
    qsizetype j = i;
    while (j < n && isDigit(t[j]))
        ++j;
    return j - i;
}

bool keepByte(Byte c)
{
    return c < 0x80 || (c >= Code128Symbol::kFnc1 && c <= Code128Symbol::kShift);
}

} // namespace

void Code128Symbol::FilterBarText(QByteArrayView text)
{
    // Reuses the buffer: a print job filters one text per label.
    m_text.resize(text.size());
    char *out = m_text.data();
    for (const char ch : text)
        if (keepByte(static_cast<Byte>(ch)))
            *out++ = ch;
    m_text.truncate(out - m_text.constData());
}

void Code128Symbol::encodeText(QByteArrayView text, CodeSet start, bool optimize,
                               std::vector<std::uint8_t> &out)
{
    out.clear();
    const auto *t = reinterpret_cast<const Byte *>(text.data());
    const qsizetype n = text.size();
    CodeSet s = start;
    qsizetype i = 0;
    while (i < n) {
        const Byte c = t[i];

        if (c >= kCodeA && c <= kShift) {
            // Optimized symbols choose their own sets: the text's set
            // changes are dropped.
            if (optimize) {
                ++i;
                continue;
            }
            if (c == kShift) {
                // SHIFT exists only in sets A and B.
                if (s == CodeSet::C) {
                    out.push_back(kValCodeB);
                    s = CodeSet::B;
                }
                const CodeSet other = s == CodeSet::A ? CodeSet::B : CodeSet::A;
                if (i + 1 < n && t[i + 1] < 0x80) {
                    const int v = valueIn(other, t[i + 1]);
                    if (v >= 0) {
                        out.push_back(kValShift);
                        out.push_back(static_cast<std::uint8_t>(v));
                        i += 2;
                        continue;
                    }
                }
                // A SHIFT with nothing it could apply to would make the
                // reader take the check character as data: leave it out.
                ++i;
                continue;
            }
            const CodeSet target = c == kCodeA ? CodeSet::A : c == kCodeB ? CodeSet::B : CodeSet::C;
            if (target != s) {
                out.push_back(codeValue(target));
                s = target;
            }
            ++i;
            continue;
        }

        if (optimize && s != CodeSet::C) {
            // Switch to C where an even run of at least 6 digits remains; a
            // run of 7 switches after its first digit.
            const qsizetype run = digitRun(t, i, n);
            if (run >= 6 && run % 2 == 0) {
                out.push_back(kValCodeC);
                s = CodeSet::C;
            }
        }

        switch (s) {
        case CodeSet::A:
        case CodeSet::B: {
            const CodeSet other = s == CodeSet::A ? CodeSet::B : CodeSet::A;
            int v = valueIn(s, c);
            if (v >= 0) {
                out.push_back(static_cast<std::uint8_t>(v));
            } else if ((v = valueIn(other, c)) >= 0) {
                out.push_back(codeValue(other));
                out.push_back(static_cast<std::uint8_t>(v));
                s = other;
            }
            ++i;
            break;
        }
        case CodeSet::C: {
            if (isDigit(c) && i + 1 < n && isDigit(t[i + 1])) {
                out.push_back(static_cast<std::uint8_t>((c - '0') * 10 + (t[i + 1] - '0')));
                i += 2;
                break;
            }
            if (c == kFnc1) {
                out.push_back(kValFnc1);
                ++i;
                break;
            }
            CodeSet next;
            int v = valueB(c);
            if (v >= 0) {
                out.push_back(kValCodeB);
                next = CodeSet::B;
            } else if ((v = valueA(c)) >= 0) {
                out.push_back(kValCodeA);
                next = CodeSet::A;
            } else {
                ++i;
                break;
            }
            out.push_back(static_cast<std::uint8_t>(v));
            // Back to C at once when four digits follow.
            if (i + 4 < n && isDigit(t[i + 1]) && isDigit(t[i + 2]) && isDigit(t[i + 3])
                && isDigit(t[i + 4]))
                out.push_back(kValCodeC);
            else
                s = next;
            ++i;
            break;
        }
        }
    }
}

std::vector<std::uint8_t> Code128Symbol::EncodeFromSet(CodeSet start) const
{
    std::vector<std::uint8_t> values;
    encodeText(m_text, start, m_optimize, values);
    return values;
}

Code128Encoding Code128Symbol::EncodeSymbol()
{
    Code128Encoding e;
    if (m_optimize) {
        e.values.reserve(static_cast<std::size_t>(m_text.size()) + 4);
        encodeText(m_text, CodeSet::A, true, e.values);
        e.startSet = CodeSet::A;
        for (const CodeSet set : {CodeSet::B, CodeSet::C}) {
            encodeText(m_text, set, true, m_candidate);
            if (m_candidate.size() < e.values.size()) {
                e.values.swap(m_candidate);
                e.startSet = set;
            }
        }
    } else {
        e.startSet = codeSetOf(m_codePage);
        encodeText(m_text, e.startSet, false, e.values);
    }
    m_usedSet = e.startSet;
    e.checkValue = CheckValue(e.values, e.startSet);
    return e;
}

int Code128Symbol::CheckValue(const std::vector<std::uint8_t> &values, CodeSet start)
{
    std::uint64_t sum = static_cast<std::uint64_t>(startValue(start));
    std::uint64_t position = 1;
    for (const std::uint8_t v : values) {
        sum = (sum + position * v) % 103;
        position = position % 103 + 1;
    }
    return static_cast<int>(sum % 103);
}

double Code128Symbol::SymbolWidth()
{
    return EncodeSymbol().modules() * m_barWidth;
}

std::optional<double> Code128Symbol::FitBarWidth(int modules, double nominal, double available)
{
    if (modules <= 0 || modules * nominal <= available)
        return nominal;
    const double module = available / modules;
    if (module >= MinimumFitModule)
        return module;
    return std::nullopt;
}

QByteArray Code128Symbol::readableText(const Code128Encoding &encoding, bool withCheck) const
{
    QByteArray text = m_text;
    if (withCheck)
        text.append(static_cast<char>(encoding.checkValue));
    text.removeIf([](char ch) { return static_cast<Byte>(ch) > 200; });
    return text;
}

Code128Encoding Code128Symbol::DrawSymbol(PageSurface &page, const Code128Placement &placement)
{
    const Code128Encoding encoding = EncodeSymbol();
    if (placement.Rotation == BarRotation::Rot0) {
        drawUpright(page, placement, encoding);
        return encoding;
    }
    const double degrees = placement.Rotation == BarRotation::Rot90    ? 90.0
                         : placement.Rotation == BarRotation::Rot180 ? 180.0
                                                                    : 270.0;
    page.save();
    page.rotate(degrees, placement.Box.center());
    drawUpright(page, placement, encoding);
    page.restore();
    return encoding;
}

void Code128Symbol::drawUpright(PageSurface &page, const Code128Placement &placement,
                                const Code128Encoding &encoding)
{
    const double width = encoding.modules() * m_barWidth;
    double left = placement.Left;
    if (placement.BarCodeJustify == PrintJustify::pjCenter)
        left -= width / 2;
    else if (placement.BarCodeJustify == PrintJustify::pjRight)
        left -= width;

    QString readable;
    double barTop = placement.BarTop;
    if (placement.PrintReadable) {
        readable = base::fromCp1252(readableText(encoding, placement.PrintChecksum));
        if (placement.PrintTop)
            barTop += page.measureText(readable, placement.Font).height;
    }

    // Every edge is computed from the module count, so no rounding error
    // accumulates along the symbol.
    int module = 0;
    const auto drawPattern = [&](int value) {
        bool bar = true;
        for (const char digit : Code128Patterns::pattern(value)) {
            const int w = digit - '0';
            if (bar)
                page.fillRect(QRectF(left + module * m_barWidth, barTop, w * m_barWidth, m_barHeight));
            module += w;
            bar = !bar;
        }
    };
    drawPattern(startValue(encoding.startSet));
    for (const std::uint8_t v : encoding.values)
        drawPattern(v);
    drawPattern(encoding.checkValue);
    drawPattern(kStop);

    if (readable.isEmpty())
        return;
    const double textTop = placement.PrintTop ? placement.BarTop : barTop + m_barHeight;
    double x = left;
    if (placement.TextJustify == PrintJustify::pjCenter)
        x = left + width / 2;
    else if (placement.TextJustify == PrintJustify::pjRight)
        x = left + width;
    page.drawText(x, textTop, placement.TextJustify, readable, placement.Font);
}

} // namespace etibarix::labels
