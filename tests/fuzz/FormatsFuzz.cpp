// The user's sheet formats: any bytes as formats.json. A file is used whole
// or not at all: either an error and no format, or formats that each pass the
// sheet check under distinct names. What was read writes back to a file that
// reads the same, and reading never writes.

#include "labels/formats/CustomFormats.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/support/ShelfFormat.h"

#include <QDir>
#include <QStringList>

using namespace etibarix;
using namespace etibarix::fuzz;

ETIBARIX_FUZZ_SEEDS(formats)
{
    const labels::SheetFormat shelf = test::ShelfFormat();
    labels::SheetFormat letter = shelf;
    letter.name = QStringLiteral("Lettre \u00e9tag\u00e8re");
    letter.pageWidthMm = labels::LetterWidthMm;
    letter.pageHeightMm = labels::LetterHeightMm;
    letter.textLines = 0;
    letter.readableLine = false;
    return {{QStringLiteral("two.json"), labels::CustomFormats::ToJson({shelf, letter})},
        {QStringLiteral("empty-list.json"), QByteArray(R"({"formats":[]})")},
        {QStringLiteral("wrong-type.json"), QByteArray(R"({"formats":[{"name":3}]})")}};
}

ETIBARIX_FUZZ_TARGET(formats)
{
    const QString dir = scratchDir();
    emptyDir(dir);
    const QString path = dir + QStringLiteral("formats.json");
    writeFile(path, input);

    const labels::CustomFormatsLoad load = labels::CustomFormats::Load(path);
    FUZZ_CHECK(readFile(path) == input, QStringLiteral("reading changed the file"));
    FUZZ_CHECK(QDir(dir).entryList(QDir::Files | QDir::Hidden) == QStringList{QStringLiteral("formats.json")},
               QStringLiteral("reading wrote a file"));
    if (!load.error.isEmpty()) {
        FUZZ_CHECK(load.formats.empty(), QStringLiteral("formats kept beside an error"));
        return;
    }
    FUZZ_CHECK(static_cast<int>(load.formats.size()) <= labels::CustomFormats::MaxCount, QStringLiteral("too many formats"));
    QStringList names;
    for (const labels::SheetFormat &f : load.formats) {
        FUZZ_CHECK(!labels::CheckSheetFormat(f, names), QStringLiteral("a format that fails the check: ") + f.name);
        names << f.name;
    }
    labels::CustomFormats::Save(path, load.formats);
    const labels::CustomFormatsLoad again = labels::CustomFormats::Load(path);
    FUZZ_CHECK(again.error.isEmpty(), QStringLiteral("the saved file reads with an error: ") + again.error);
    FUZZ_CHECK(again.formats == load.formats, QStringLiteral("the saved file reads differently"));
}
