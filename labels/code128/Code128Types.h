#pragma once
// Small types shared by the Code 128 encoder (Code128Symbol) and the layout
// component (Code128BarCode), with the identifier forms the layout files use.

#include <QByteArrayView>

#include <cstdint>
#include <optional>
#include <vector>

namespace etibarix::labels {

// The three code sets of Code 128.
enum class CodeSet : std::uint8_t { A, B, C };

inline char codeSetLetter(CodeSet set)
{
    return set == CodeSet::A ? 'A' : set == CodeSet::B ? 'B' : 'C';
}

// The component's CodePage property: the start set when Optimize is off.
enum class CodePage128 { cpCodeA, cpCodeB, cpCodeC };

inline CodeSet codeSetOf(CodePage128 page)
{
    return page == CodePage128::cpCodeA ? CodeSet::A
         : page == CodePage128::cpCodeB ? CodeSet::B
                                        : CodeSet::C;
}

inline std::optional<CodePage128> codePageFromName(QByteArrayView name)
{
    if (name.compare("cpCodeA", Qt::CaseInsensitive) == 0)
        return CodePage128::cpCodeA;
    if (name.compare("cpCodeB", Qt::CaseInsensitive) == 0)
        return CodePage128::cpCodeB;
    if (name.compare("cpCodeC", Qt::CaseInsensitive) == 0)
        return CodePage128::cpCodeC;
    return std::nullopt;
}

// Direction of a symbol: turned counter-clockwise by that many degrees.
enum class BarRotation { Rot0, Rot90, Rot180, Rot270 };

inline std::optional<BarRotation> barRotationFromName(QByteArrayView name)
{
    if (name.compare("Rot0", Qt::CaseInsensitive) == 0)
        return BarRotation::Rot0;
    if (name.compare("Rot90", Qt::CaseInsensitive) == 0)
        return BarRotation::Rot90;
    if (name.compare("Rot180", Qt::CaseInsensitive) == 0)
        return BarRotation::Rot180;
    if (name.compare("Rot270", Qt::CaseInsensitive) == 0)
        return BarRotation::Rot270;
    return std::nullopt;
}

// Symbol value of the start character of each set, and of the stop character.
constexpr int kStartA = 103;
constexpr int kStartB = 104;
constexpr int kStartC = 105;
constexpr int kStop = 106;

inline int startValue(CodeSet set)
{
    return kStartA + static_cast<int>(set);
}

// One encoding of a text, with the intermediate values the drawing uses.
struct Code128Encoding {
    CodeSet startSet = CodeSet::A;
    std::vector<std::uint8_t> values;   // without start, check and stop
    int checkValue = 0;

    // Width of the whole symbol in modules: start, values and check at 11
    // modules each, 13 for the stop character.
    int modules() const { return 11 * static_cast<int>(values.size()) + 35; }
};

} // namespace etibarix::labels
