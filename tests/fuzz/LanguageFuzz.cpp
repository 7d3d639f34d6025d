// The language file: any bytes as etibarix.lg. It loads, and every text
// is what a plain reading gives (';' fields, blank lines skipped, ten header
// lines, then one text per line, the second field unless it holds nothing
// visible); every text decodes through the character set the file names. A
// file the reader takes for UTF-8 gives the same texts, converted from UTF-8
// to the code page of its character set.

#include "base/Cp1252.h"
#include "i18n/LanguageFile.h"
#include "i18n/LanguageTable.h"
#include "i18n/TextFile.h"
#include "tests/fuzz/FuzzTarget.h"

#include <QRegularExpression>
#include <QStringEncoder>

using namespace etibarix;
using namespace etibarix::fuzz;

namespace {

std::vector<QByteArray> plainLines(QByteArrayView file)
{
    const qsizetype z = file.indexOf('\x1A');
    QByteArray text = (z >= 0 ? file.first(z) : file).toByteArray();
    text.replace("\r", "");
    std::vector<QByteArray> out;
    for (const QByteArray &line : text.split('\n')) {
        if (!QByteArray(line).replace(' ', "").replace('\t', "").isEmpty())
            out.push_back(line);
    }
    return out;
}

QByteArray field(const std::vector<QByteArray> &lines, std::size_t line, int k)
{
    if (line >= lines.size())
        return {};
    const QList<QByteArray> fields = lines[line].split(';');
    return k <= fields.size() ? fields[k - 1] : QByteArray();
}

bool visible(const QByteArray &text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) > ' ')
            return true;
    return false;
}

} // namespace

ETIBARIX_FUZZ_SEEDS(language)
{
    QByteArray english = "Etibarix;English\nfont;Arial\ncharset;0\n4\n5\n6\n7\n8\n9\n10\n";
    for (int n = 1; n <= 12; ++n)
        english += QByteArray::number(n) + ';' + (n % 4 ? QByteArray("Text ") + QByteArray::number(n) : QByteArray("  ")) + "\r\n";
    return {
        {QStringLiteral("english.lg"), english},
        {QStringLiteral("greek.lg"), QByteArray("h;\xC5\xEB\xEB\n;Tahoma\n;161\n\n\n\n\n\n\n\n1;\xE1\xE2\n2;\n\x1A;x\n")},
    };
}

ETIBARIX_FUZZ_TARGET(language)
{
    const QString path = scratchDir() + QStringLiteral("etibarix.lg");
    writeFile(path, input);
    auto table = std::make_unique<i18n::LanguageFile>();
    table->SetFileName(path);
    FUZZ_CHECK(table->Load(), QStringLiteral("a readable file did not load"));

    const bool utf8 = i18n::DetectTextEncoding(path) == i18n::TextEncoding::Utf8;
    const QByteArrayView mark("\xEF\xBB\xBF");
    // The reader drops a CR wherever it stands, so a mark behind CRs still
    // opens the first line.
    const QByteArray text = input.toByteArray().replace('\r', "");
    const std::vector<QByteArray> lines = plainLines(utf8 && text.startsWith(mark) ? text.sliced(mark.size()) : text);
    const char *codePage = i18n::LanguageFile::CodePageOfCharSet(table->CharSet());
    const auto asRead = [&](const QByteArray &bytes) {
        if (!utf8)
            return bytes;
        const QString text = QString::fromUtf8(bytes);
        QStringEncoder encoder(codePage ? codePage : "");
        return codePage && encoder.isValid() ? QByteArray(encoder.encode(text)) : base::toCp1252Lossy(text);
    };
    FUZZ_CHECK(table->GetText(301) == asRead(field(lines, 0, 2)), QStringLiteral("header text"));
    FUZZ_CHECK(table->FontName() == asRead(field(lines, 1, 2)), QStringLiteral("font name"));
    static const QRegularExpression number(QStringLiteral("^ *[+-]?[0-9]{1,9}$"));
    const QByteArray charSet = field(lines, 2, 2);
    if (number.match(QString::fromLatin1(charSet)).hasMatch())
        FUZZ_CHECK(table->CharSet() == charSet.trimmed().toInt(), QStringLiteral("character set"));
    FUZZ_CHECK(table->GetText(303) == QByteArray::number(table->CharSet()), QStringLiteral("slot 303"));
    for (int n = 1; n <= 300; ++n) {
        const std::size_t line = 10 + static_cast<std::size_t>(n) - 1;
        const QByteArray second = field(lines, line, 2);
        const QByteArray expected = visible(second) ? second : field(lines, line, 1);
        FUZZ_CHECK(table->GetText(n) == asRead(expected), QStringLiteral("text %1").arg(n));
    }

    i18n::InstallLanguageTable(std::move(table));
    for (int n = 1; n <= 303; ++n) {
        const QByteArray bytes = i18n::LangText(i18n::Text(n));
        const QString text = i18n::LangString(i18n::Text(n));
        FUZZ_CHECK(bytes.isEmpty() == text.isEmpty(), QStringLiteral("text %1 lost in decoding").arg(n));
    }
    i18n::ClearLanguageTable();
}
