// The building blocks of project streams: compact integers, extended
// floats, typed values, blocks, and their failures.

#include "base/Error.h"
#include "labels/project/ProjectReader.h"
#include "tests/labels/project/ProjectStreamWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace etibarix;
using labels::ProjectReader;
using labels::ProjectValue;
using test::StreamWriter;

namespace {

template<typename F>
QString errorOf(F f)
{
    try {
        f();
    } catch (const base::Error &e) {
        return e.text();
    }
    return QStringLiteral("no error");
}

} // namespace

TEST(ProjectReader, CompactIntegers)
{
    struct Case {
        quint32 value;
        QByteArray bytes;
    };
    const std::vector<Case> cases = {
        {0, QByteArray::fromHex("00")},
        {127, QByteArray::fromHex("7f")},
        {128, QByteArray::fromHex("8080")},
        {16383, QByteArray::fromHex("bfff")},
        {16384, QByteArray::fromHex("c04000")},
        {2097151, QByteArray::fromHex("dfffff")},
        {2097152, QByteArray::fromHex("e0200000")},
        {(1u << 29) - 1, QByteArray::fromHex("ffffffff")},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(StreamWriter().cint(c.value).bytes, c.bytes) << c.value;
        ProjectReader r(c.bytes);
        EXPECT_EQ(r.readCint(), c.value);
        EXPECT_TRUE(r.atEnd());
    }
}

TEST(ProjectReader, NegativeIntegersAsStored)
{
    // Bin -1: type 2, cint 01. A barcode font colour -16777208: type 2, E0 FF FF F8.
    const QByteArray binBytes = QByteArray::fromHex("0201");
    ProjectReader bin(binBytes);
    EXPECT_EQ(bin.readValue().toInteger(), -1);
    const QByteArray colourBytes = QByteArray::fromHex("02e0fffff8");
    ProjectReader colour(colourBytes);
    EXPECT_EQ(colour.readValue().toInteger(), -16777208);
    EXPECT_EQ(StreamWriter().value(ProjectValue::integerValue(-16777208)).bytes, QByteArray::fromHex("02e0fffff8"));
    // Past 2^28 - 1 the writer switches to the 32-bit form.
    EXPECT_EQ(ProjectValue::integerValue(268435455).type, ProjectValue::Type::Integer);
    EXPECT_EQ(ProjectValue::integerValue(268435456).type, ProjectValue::Type::Int32);
    const QByteArray bigBytes = QByteArray::fromHex("0300000080");
    ProjectReader big(bigBytes);
    EXPECT_EQ(big.readValue().toInteger(), std::numeric_limits<qint32>::min());
}

TEST(ProjectReader, ExtendedFloatsRoundToTheNearestDouble)
{
    static_assert(sizeof(double) == 8);
    if constexpr (std::numeric_limits<long double>::digits == 64) {
        // The x87 format is the file's: compare with the compiler's rounding.
        const long double values[] = {2.54L, 0.25L, 0.66L, 1.0L / 3, 210.0L / 25.4L, -16.764L / 25.4L,
                                      1e-300L, 1e300L, 0.0L, 0.01L};
        for (long double v : values) {
            unsigned char b[16] = {};
            std::memcpy(b, &v, 10);
            EXPECT_EQ(ProjectReader::extendedToDouble(b), static_cast<double>(v)) << double(v);
        }
    }
    // Exact doubles survive the writer and the reader unchanged.
    const double inf = std::numeric_limits<double>::infinity();
    for (double d : {2.54, 0.01, 8.5, -1.5, 5e-324, 1.7976931348623157e308, inf, -inf}) {
        const QByteArray rBytes = StreamWriter().extended(d).bytes;
        ProjectReader r(rBytes);
        EXPECT_EQ(r.readExtended(), d);
    }
    for (double d : {std::nan(""), -std::nan("")}) {
        const QByteArray rBytes = StreamWriter().extended(d).bytes;   // the reader keeps a view of them
        ProjectReader r(rBytes);
        const double back = r.readExtended();
        EXPECT_TRUE(std::isnan(back));
        EXPECT_EQ(std::signbit(back), std::signbit(d));
    }
    // A mantissa half-way between two doubles rounds to even.
    unsigned char half[10] = {0x00, 0x04, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}; // 1 + 2^-53
    EXPECT_EQ(ProjectReader::extendedToDouble(half), 1.0);
    unsigned char above[10] = {0x01, 0x04, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
    EXPECT_EQ(ProjectReader::extendedToDouble(above), 1.0 + std::numeric_limits<double>::epsilon());
}

TEST(ProjectReader, EveryValueTypeRoundTrips)
{
    using T = ProjectValue::Type;
    ProjectValue set;
    set.type = T::Set;
    set.names = {"fsBold", "fsItalic"};
    ProjectValue emptySet;
    emptySet.type = T::Set;
    ProjectValue names;
    names.type = T::Names;
    names.names = {"Code128BarCode1", "DataText2"};
    ProjectValue ch;
    ch.type = T::Char;
    ch.text = "\xE9";
    ProjectValue list;
    list.type = T::List;
    list.list.push_back({"Name", ProjectValue::string("Arial")});
    list.list.push_back({"Inner", list});
    ProjectValue objects;
    objects.type = T::Objects;
    objects.objects.push_back({"TItem", {{"Width", ProjectValue::extended(0.5)}}});
    objects.objects.push_back({"TOther", {}});

    const std::vector<ProjectValue> values = {
        ProjectValue::identifier("pjLeft"), ProjectValue::integerValue(300), ProjectValue::integerValue(-2),
        ProjectValue::integerValue(-400000000), ch, ProjectValue::extended(2.54), ProjectValue::string("h\xE9llo"),
        set, emptySet, list, names, objects,
    };
    StreamWriter w;
    for (const ProjectValue &v : values)
        w.value(v);
    ProjectReader r(w.bytes);
    for (const ProjectValue &v : values) {
        const ProjectValue got = r.readValue();
        EXPECT_EQ(got.type, v.type);
        EXPECT_EQ(got.text, v.text);
        EXPECT_EQ(got.integer, v.integer);
        EXPECT_EQ(got.real, v.real);
        EXPECT_EQ(got.names, v.names);
        EXPECT_EQ(got.list.size(), v.list.size());
        EXPECT_EQ(got.objects.size(), v.objects.size());
    }
    EXPECT_TRUE(r.atEnd());
    // The nested list keeps its depth.
    const QByteArray againBytes = StreamWriter().value(list).bytes;
    ProjectReader again(againBytes);
    const ProjectValue l = again.readValue();
    ASSERT_EQ(l.list.size(), 2u);
    EXPECT_EQ(l.list[1].value.list[0].value.text, QByteArray("Arial"));
}

TEST(ProjectReader, Blocks)
{
    const QByteArray data("a block that says a block twice");
    const QByteArray storedBytes = StreamWriter().block(data, 0).bytes;
    ProjectReader stored(storedBytes);
    EXPECT_EQ(stored.readBlock(), data);
    const QByteArray packedBytes = StreamWriter().block(data, 2).bytes;
    ProjectReader packed(packedBytes);
    EXPECT_EQ(packed.readBlock(), data);
    // Bytes after a block's data belong to the next field.
    const QByteArray twoBytes = StreamWriter().block("x", 0).byte(7).bytes;
    ProjectReader two(twoBytes);
    EXPECT_EQ(two.readBlock(), QByteArray("x"));
    EXPECT_EQ(two.readByte(), 7);
}

TEST(ProjectReader, DamagedInput)
{
    const QString readError = QStringLiteral("Stream read error");
    struct Case {
        const char *what;
        QByteArray bytes;
        QString error;
    };
    QByteArray deep;
    for (int i = 0; i < 10000; ++i)
        deep += QByteArray::fromHex("0801") + 'A'; // type 8, then property "A" of type 8...
    const std::vector<Case> cases = {
        {"empty", {}, readError},
        {"cint cut", QByteArray::fromHex("06c001"), readError},
        {"string past the end", QByteArray::fromHex("0605abc"), readError},
        {"huge string length", QByteArray::fromHex("06ffffffff41"), readError},
        {"extended cut", QByteArray::fromHex("050000"), readError},
        {"unknown value type", QByteArray::fromHex("0b00"), readError},
        {"set without end", QByteArray::fromHex("070341424303444546"), readError},
        {"deep nesting", deep, readError},
        {"block method 1", QByteArray::fromHex("0101000000") + 'x', QStringLiteral("Unknown compression method 1")},
        {"block method 3", QByteArray::fromHex("0300000000"), QStringLiteral("Unknown compression method 3")},
        {"block past the end", QByteArray::fromHex("0010000000") + "abc", readError},
        {"block with a negative length", QByteArray::fromHex("00ffffffff") + "abc", readError},
    };
    for (const Case &c : cases) {
        ProjectReader r(c.bytes);
        const bool isBlock = QByteArrayView(c.what).startsWith("block");
        EXPECT_EQ(errorOf([&] { isBlock ? (void)r.readBlock() : (void)r.readValue(); }), c.error) << c.what;
    }
}
