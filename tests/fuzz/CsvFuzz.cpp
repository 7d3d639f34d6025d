// The text-file reader and the CSV import, with the import's options taken
// from the first input bytes and the rest as the file. Both are checked
// against a plain reading of the rules: a Ctrl-Z ends the file, lines end at
// LF, every CR is dropped, lines of blanks and tabs are skipped, fields are
// split at every separator with no quoting; the import stores one record per
// data line, numbered on from 1, with the chosen fields (double quotes
// removed, cut to the table's widths) and quantity 1 unless the quantity
// field is a whole number.

#include "i18n/TextFile.h"
#include "records/CsvImport.h"
#include "records/RecordRules.h"
#include "store/Query.h"
#include "store/TableFiles.h"
#include "tests/fuzz/TableFacts.h"

using namespace etibarix;
using namespace etibarix::fuzz;

namespace {

struct PlainReading {
    std::vector<QByteArray> lines;
    bool textAfterCtrlZ = false;
};

bool blankLine(const QByteArray &line)
{
    for (const char c : line)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}

PlainReading plainReading(QByteArrayView file)
{
    PlainReading r;
    const qsizetype z = file.indexOf('\x1A');
    if (z >= 0) {
        for (const char c : file.sliced(z))
            if (c != '\x1A' && c != ' ' && c != '\t' && c != '\r' && c != '\n')
                r.textAfterCtrlZ = true;
        file = file.first(z);
    }
    QByteArray text = file.toByteArray();
    text.replace("\r", "");
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray &line : lines)
        if (!blankLine(line))
            r.lines.push_back(line);
    return r;
}

QByteArray plainField(const QByteArray &line, char separator, int k)
{
    const QList<QByteArray> fields = line.split(separator);
    return k >= 1 && k <= fields.size() ? fields[k - 1] : QByteArray();
}

QByteArray stored(QByteArray text, int width)
{
    text.truncate(width);
    while (!text.isEmpty() && static_cast<unsigned char>(text.back()) <= 0x20)
        text.chop(1);
    return text;
}

} // namespace

// Five option bytes (separator and header lines, then the barcode, text 1,
// text 2 and quantity fields), then the file.
static QByteArray csvSeed(std::initializer_list<int> options, const QByteArray &file)
{
    QByteArray bytes;
    for (const int b : options)
        bytes.append(static_cast<char>(b));
    return bytes + file;
}

ETIBARIX_FUZZ_SEEDS(csv)
{
    return {
        {QStringLiteral("defaults.csv"), csvSeed({0, 0, 1, 2, 10}, "a,b,c\n")},
        {QStringLiteral("quoted.csv"), csvSeed({1, 0, 1, 2, 3}, "\"A1\";\"T\";\"\";\"3\"\r\n\"A2\";\"T\";\"\";3\r\n")},
        {QStringLiteral("header.csv"), csvSeed({4, 9, 1, 2, 3}, "\n  \ncode,text,qty\nskip\nX1,one,,12\nX2,two,t2, 7\x1Atail\n")},
        {QStringLiteral("long.csv"), csvSeed({0x80, 0, 1, 10, 1}, QByteArray(120, 'L') + ',' + QByteArray(130, 'M') + "\r\nshort,-99\n")},
    };
}

ETIBARIX_FUZZ_TARGET(csv)
{
    InputReader in(input);
    const std::uint8_t b0 = in.byte();
    const std::uint8_t b1 = in.byte();
    const std::uint8_t b2 = in.byte();
    const std::uint8_t b3 = in.byte();
    const std::uint8_t b4 = in.byte();
    records::CsvImportOptions options;
    options.separator = b0 & 1 ? ';' : ',';
    options.headerLines = (b0 >> 1 & 7) % 7;
    options.fieldCb = 1 + b1 % 10;
    options.fieldText1 = 1 + b2 % 10;
    options.fieldText2 = b3 % 11 == 10 ? records::NoField : 1 + b3 % 11;
    options.fieldQuantity = b4 % 11 == 10 ? records::NoField : 1 + b4 % 11;
    // With the high bit, the text begins just before the end of the
    // reader's first 64 KiB chunk, after blank lines.
    QByteArray file;
    if (b0 & 0x80)
        file = QByteArray(65536 - 1 - (b1 ^ b2), '\n');
    file += in.rest();

    const QString dir = scratchDir();
    emptyDir(dir);
    const QString path = dir + QStringLiteral("import.csv");
    writeFile(path, file);

    const PlainReading plain = plainReading(file);
    {
        // The bytes as they stand: the plain reading knows nothing of UTF-8.
        i18n::TextFile reader;
        reader.SetSeparator(options.separator);
        reader.SetEncoding(i18n::TextEncoding::Windows1252);
        reader.Open(path);
        std::size_t n = 0;
        for (; !reader.AtEnd(); reader.NextLine(), ++n) {
            FUZZ_CHECK(n < plain.lines.size(), QStringLiteral("more lines than the file holds"));
            FUZZ_CHECK(reader.Line() == plain.lines[n], QStringLiteral("line %1 differs").arg(n + 1));
            for (int k = 1; k <= 12; ++k)
                FUZZ_CHECK(reader.Field(k) == plainField(plain.lines[n], options.separator, k),
                           QStringLiteral("line %1 field %2 differs").arg(n + 1).arg(k));
        }
        FUZZ_CHECK(n == plain.lines.size(), QStringLiteral("%1 lines read of %2").arg(n).arg(plain.lines.size()));
        FUZZ_CHECK(reader.TextAfterCtrlZ() == plain.textAfterCtrlZ, QStringLiteral("text after Ctrl-Z"));
    }

    const std::size_t skipped = std::min<std::size_t>(plain.lines.size(), options.headerLines);
    const std::vector<QByteArray> read(plain.lines.begin() + static_cast<std::ptrdiff_t>(skipped), plain.lines.end());
    // A barcode Code 128 cannot print keeps its line out of the table.
    std::vector<QByteArray> data;
    for (const QByteArray &line : read)
        if (records::FirstUnprintableBarcodeByte(records::RemoveChar(plainField(line, options.separator, options.fieldCb), '"')) < 0)
            data.push_back(line);
    // Each line is a select and an insert over the whole table.
    if (read.size() > 32)
        return;

    // An empty table as the program creates it, made once.
    static const std::pair<QByteArray, QByteArray> empty = [&] {
        store::Table made{store::ArticleDefinition()};
        made.setFileName(dir + QStringLiteral("article.dbf"));
        made.open();
        made.close();
        return std::pair{readFile(dir + QStringLiteral("article.dbf")), readFile(indexFileIn(dir))};
    }();
    writeFile(dir + QStringLiteral("article.dbf"), empty.first);
    writeFile(dir + QStringLiteral("article.MDX"), empty.second);
    store::Table table{store::ArticleDefinition()};
    table.setFileName(dir + QStringLiteral("article.dbf"));
    store::Query query;
    query.addDataSet("article", table);
    options.encoding = i18n::TextEncoding::Windows1252;
    const records::CsvImportResult result = records::RunCsvImport(query, path, options);
    FUZZ_CHECK(result.linesRead == static_cast<int>(read.size()), QStringLiteral("%1 lines imported").arg(result.linesRead));
    FUZZ_CHECK(result.recordsStored == static_cast<int>(data.size()) && result.rejected.lines == 0
                   && result.unprintableBarcode.lines == static_cast<int>(read.size() - data.size()),
               QStringLiteral("%1 lines refused: %2").arg(result.rejected.lines).arg(result.firstRejection));

    table.open();
    const std::vector<RecordValues> records = liveRecords(table);
    table.close();
    FUZZ_CHECK(records.size() == data.size(), QStringLiteral("%1 records stored").arg(records.size()));
    const char sep = options.separator;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const RecordValues &r = records[i];
        const QByteArray &line = data[i];
        FUZZ_CHECK(r.integers[0] == static_cast<std::int32_t>(i + 1), QStringLiteral("record %1 numbered %2").arg(i + 1).arg(r.integers[0]));
        FUZZ_CHECK(r.texts[1] == stored(records::RemoveChar(plainField(line, sep, options.fieldCb), '"'), 50),
                   QStringLiteral("barcode of line %1").arg(i + 1));
        FUZZ_CHECK(r.texts[2] == stored(records::RemoveChar(plainField(line, sep, options.fieldText1), '"'), 100),
                   QStringLiteral("text 1 of line %1").arg(i + 1));
        const QByteArray text2 = options.fieldText2 == records::NoField
            ? QByteArray() : records::RemoveChar(plainField(line, sep, options.fieldText2), '"');
        FUZZ_CHECK(r.texts[3] == stored(text2, 100), QStringLiteral("text 2 of line %1").arg(i + 1));
        std::int32_t quantity = 1;
        if (options.fieldQuantity != records::NoField)
            records::IsInteger(plainField(line, sep, options.fieldQuantity), &quantity);
        const std::int32_t readBack = quantity >= -99 && quantity <= 999 ? quantity : 0;
        FUZZ_CHECK(r.integers[4] == readBack, QStringLiteral("quantity of line %1: %2 for %3").arg(i + 1).arg(r.integers[4]).arg(quantity));
        FUZZ_CHECK(r.texts[5] == "O", QStringLiteral("flag of line %1").arg(i + 1));
    }
}
