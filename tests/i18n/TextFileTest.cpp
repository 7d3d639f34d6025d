#include "i18n/TextFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace etibarix;
using i18n::TextFileError;
using i18n::TextFile;

namespace {

// Every line the reader delivers, in order.
std::vector<QByteArray> readAll(const QByteArray &content, char separator = ';')
{
    test::DataDir dir;
    const QString path = dir.file(QStringLiteral("in.txt"));
    EXPECT_TRUE(test::writeFile(path, content));
    TextFile reader;
    reader.SetSeparator(separator);
    reader.Open(path);
    std::vector<QByteArray> lines;
    while (!reader.AtEnd()) {
        lines.push_back(reader.Line());
        reader.NextLine();
    }
    EXPECT_TRUE(reader.Line().isEmpty());
    EXPECT_FALSE(reader.NextLine());
    return lines;
}

using Lines = std::vector<QByteArray>;

} // namespace

TEST(TextFile, LineRules)
{
    struct Case {
        const char *name;
        QByteArray content;
        Lines expected;
    };
    const Case cases[] = {
        {"empty file", QByteArray(), {}},
        {"LF", "a\nb\n", {"a", "b"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"no final line end", "a\nb", {"a", "b"}},
        {"lone CR dropped", "a\rb\nc\r", {"ab", "c"}},
        {"CR CR LF", "a\r\r\nb", {"a", "b"}},
        {"blank lines skipped", "\n \t \n\na\n\t\n  \r\nb\n\n", {"a", "b"}},
        {"only blank lines", " \n\t\n\r\n", {}},
        {"leading blanks kept", "  a;b  \n", {"  a;b  "}},
        {"Ctrl-Z ends the file", "a\nb\x1A" "c\nd\n", {"a", "b"}},
        {"Ctrl-Z at the start", "\x1A" "a\n", {}},
        {"NUL is an ordinary byte", QByteArray("a\0b\n\0\n", 6), {QByteArray("a\0b", 3), QByteArray("\0", 1)}},
        {"high bytes untouched", "\x80 caf\xE9 \xC3\n", {"\x80 caf\xE9 \xC3"}},
        {"form feed is not blank", "\f\n", {"\f"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(readAll(c.content), c.expected) << c.name;
}

TEST(TextFile, FieldRules)
{
    struct Case {
        QByteArray line;
        int k;
        QByteArray expected;
    };
    const Case cases[] = {
        {"a;b;c", 2, "b"},
        {"a;;b", 2, ""},
        {"a;;b", 3, "b"},
        {";x", 1, ""},
        {";x", 2, "x"},
        {"a;b", 3, ""},
        {"a;b;", 3, ""},
        {"whole line", 1, "whole line"},
        {"whole line", 2, ""},
        {" a ; b ", 2, " b "},
        {"\"x;y\";z", 1, "\"x"},
        {"\"x;y\";z", 2, "y\""},
        {"a;b", 0, ""},
        {"a;b", -1, ""},
    };
    for (const Case &c : cases) {
        test::DataDir dir;
        const QString path = dir.file(QStringLiteral("f.txt"));
        test::writeFile(path, c.line + "\n");
        TextFile reader;
        reader.Open(path);
        EXPECT_EQ(reader.Field(c.k), c.expected) << c.line.constData() << " field " << c.k;
    }
}

TEST(TextFile, TwoHundredFiftyFiveFieldsAndTheOtherSeparator)
{
    QByteArray line;
    for (int i = 1; i <= 300; ++i)
        line += QByteArray::number(i) + ',';
    test::DataDir dir;
    const QString path = dir.file(QStringLiteral("wide.csv"));
    test::writeFile(path, line);
    TextFile reader;
    reader.SetSeparator(',');
    reader.Open(path);
    EXPECT_EQ(reader.Field(1), "1");
    EXPECT_EQ(reader.Field(255), "255");
    EXPECT_EQ(reader.Field(256), "");
}

TEST(TextFile, TenMegabyteSingleLine)
{
    QByteArray big(10 * 1024 * 1024, 'x');
    big[5] = ';';
    big[big.size() - 1] = '\r';
    test::DataDir dir;
    const QString path = dir.file(QStringLiteral("big.txt"));
    ASSERT_TRUE(test::writeFile(path, big + "\nlast\r\n"));
    TextFile reader;
    reader.Open(path);
    EXPECT_EQ(reader.Line().size(), big.size() - 1);   // without the CR
    EXPECT_EQ(reader.Field(1), "xxxxx");
    EXPECT_EQ(reader.Field(2).size(), big.size() - 7);
    ASSERT_TRUE(reader.NextLine());
    EXPECT_EQ(reader.Line(), "last");
    EXPECT_FALSE(reader.NextLine());
    EXPECT_TRUE(reader.AtEnd());
}

TEST(TextFile, LinesAcrossBufferBoundaries)
{
    // Many lines of varying length, so line ends and CRs fall on every
    // position of the read buffer.
    QByteArray content;
    std::vector<QByteArray> expected;
    for (int i = 0; i < 20000; ++i) {
        const QByteArray line = QByteArray(i % 37 + 1, static_cast<char>('a' + i % 26)) + QByteArray::number(i);
        content += line + (i % 3 ? "\r\n" : "\n");
        expected.push_back(line);
    }
    EXPECT_EQ(readAll(content), expected);
}

TEST(TextFile, Garbage)
{
    // Random bytes with a single Ctrl-Z near the end: where they fell, the
    // first Ctrl-Z came at byte 111 and the reader saw one line.
    QByteArray garbage;
    quint32 x = 12345;
    for (int i = 0; i < 200000; ++i) {
        x = x * 1103515245u + 12345u;
        const char c = static_cast<char>(x >> 24);
        garbage.append(c == '\x1A' ? 'z' : c);
    }
    constexpr int kEnd = 150000;
    garbage[kEnd] = '\x1A';
    // The line rules worked out apart: up to the Ctrl-Z, split at LF, every
    // CR dropped, lines of only spaces and tabs left out.
    Lines expected;
    for (QByteArray line : garbage.left(kEnd).split('\n')) {
        line.replace("\r", "");
        if (line.count(' ') + line.count('\t') != line.size())
            expected.push_back(line);
    }
    ASSERT_GT(expected.size(), 500u);
    const Lines lines = readAll(garbage);
    const auto differ = std::mismatch(lines.begin(), lines.end(), expected.begin(), expected.end());
    EXPECT_TRUE(differ.first == lines.end() && differ.second == expected.end())
        << "line " << (differ.first - lines.begin()) + 1 << " of " << lines.size() << " read, " << expected.size()
        << " expected";
}

TEST(TextFile, OpenAndErrors)
{
    test::DataDir dir;
    const QString missing = dir.file(QStringLiteral("missing.txt"));
    TextFile reader;
    try {
        reader.Open(missing);
        FAIL() << "no error";
    } catch (const TextFileError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("Impossible d'ouvrir le fichier \"%1\" en lecture").arg(missing));
    }
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(reader.FileName(), missing);

    TextFile unopened;
    try {
        unopened.NextLine();
        FAIL() << "no error";
    } catch (const TextFileError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("No valid file selected"));
    }
    EXPECT_TRUE(unopened.AtEnd());

    // A directory cannot be opened for reading.
    EXPECT_THROW(TextFile().Open(dir.path()), TextFileError);

    // The error is an base::Error, so the general handler shows it.
    EXPECT_THROW(TextFile().Open(missing), base::Error);
}

TEST(TextFile, OpeningTheSameNameAgainKeepsThePosition)
{
    test::DataDir dir;
    const QString a = dir.file(QStringLiteral("a.txt"));
    const QString b = dir.file(QStringLiteral("b.txt"));
    test::writeFile(a, "a1\na2\n");
    test::writeFile(b, "b1\n");
    TextFile reader;
    reader.Open(a);
    reader.NextLine();
    reader.Open(a);
    EXPECT_EQ(reader.Line(), "a2");
    reader.Open(b);
    EXPECT_EQ(reader.Line(), "b1");
    reader.Open(QString());
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_THROW(reader.NextLine(), TextFileError);
    reader.Open(a);
    EXPECT_EQ(reader.Line(), "a1");
    reader.Close();
    EXPECT_THROW(reader.NextLine(), TextFileError);
}

TEST(TextFile, ReadErrorClosesTheFile)
{
    // The start of the process's own memory cannot be read: EIO on the first read.
    const QString path = QStringLiteral("/proc/self/mem");
    TextFile reader;
    reader.SetEncoding(i18n::TextEncoding::Windows1252);   // the read itself, not the encoding check
    try {
        reader.Open(path);
        FAIL() << "no error";
    } catch (const TextFileError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("Erreur de lecture du fichier \"/proc/self/mem\" : Unknown error"));
    }
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_THROW(reader.NextLine(), TextFileError);
}

TEST(TextFile, EncodingDetection)
{
    using E = i18n::TextEncoding;
    const struct {
        const char *what;
        QByteArray content;
        E expected;
    } cases[] = {
        {"empty", "", E::Windows1252},
        {"ASCII", "abc;def\n", E::Windows1252},
        {"the mark alone", "\xEF\xBB\xBF", E::Utf8},
        {"two-byte sequence", "Cr\xC3\xA8me", E::Utf8},
        {"four-byte sequence", "\xF0\x9F\x98\x80", E::Utf8},
        {"Windows-1252 accent", "Cr\xE8me", E::Windows1252},
        {"UTF-8 then a Windows-1252 byte", "Cr\xC3\xA8me \xE8", E::Windows1252},
        {"overlong slash", "\xC0\xAF", E::Windows1252},
        {"overlong three bytes", "\xE0\x80\xAF", E::Windows1252},
        {"surrogate", "\xED\xA0\x80", E::Windows1252},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", E::Windows1252},
        {"cut at the end", "a\xC3", E::Windows1252},
        {"split across two reads", QByteArray(64 * 1024 - 1, 'a') + "\xC3\xA8", E::Utf8},
        {"only after a Ctrl-Z", "abc\x1A\xC3\xA8", E::Windows1252},
        {"garbage after a Ctrl-Z", "\xC3\xA8\x1A\xFF", E::Utf8},
    };
    test::DataDir dir;
    const QString path = dir.file(QStringLiteral("in.txt"));
    for (const auto &c : cases) {
        ASSERT_TRUE(test::writeFile(path, c.content));
        EXPECT_EQ(i18n::DetectTextEncoding(path), c.expected) << c.what;
    }
    EXPECT_THROW(i18n::DetectTextEncoding(dir.file(QStringLiteral("none.txt"))), TextFileError);
}

TEST(TextFile, Utf8LinesComeOutAsWindows1252)
{
    // The mark goes, accents convert, a character without a byte reads as
    // '?' and is named for its line only.
    test::DataDir dir;
    const QString path = dir.file(QStringLiteral("in.txt"));
    ASSERT_TRUE(test::writeFile(path, "\xEF\xBB\xBF\xE2\x82\xAC;Cr\xC3\xA8me\n\xF0\x9F\x98\x80 x\nplain\n"));
    TextFile reader;
    reader.Open(path);
    EXPECT_EQ(reader.Encoding(), i18n::TextEncoding::Utf8);
    EXPECT_EQ(reader.Line(), "\x80;Cr\xE8me");
    EXPECT_TRUE(reader.UnstorableCharacter().isEmpty());
    reader.NextLine();
    EXPECT_EQ(reader.Line(), "?? x");
    EXPECT_EQ(reader.UnstorableCharacter(), QStringLiteral("\U0001F600"));
    reader.NextLine();
    EXPECT_EQ(reader.Line(), "plain");
    EXPECT_TRUE(reader.UnstorableCharacter().isEmpty());
}
