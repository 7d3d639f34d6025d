// The parameter file: any bytes as ETIBARIX.PAR. A whole record is read
// byte for byte and the file kept; a short one is deleted with the bytes
// read kept in memory. Saving then writes exactly the 120-byte record with
// the tag, the chosen label format and printer name, and reading that file
// gives the same record again.

#include "base/DataDir.h"
#include "base/Cp1252.h"
#include "base/Parameters.h"
#include "tests/fuzz/FuzzTarget.h"

#include <QDir>
#include <QFileInfo>

using namespace etibarix;
using namespace etibarix::fuzz;

ETIBARIX_FUZZ_SEEDS(parameters)
{
    const QString dir = scratchDir() + QStringLiteral("seed/");
    QDir().mkpath(dir);
    base::setDataDirOverride(dir);
    Seeds seeds;
    base::Parameters.Clear();
    base::Parameters.Language = 2;
    base::Parameters.CodeSet = 3;
    if (base::SaveParameters(12, u"Office \u00e9tage 2"))
        seeds.push_back({QStringLiteral("saved.par"), readFile(base::ParameterFilePath())});
    base::Parameters.Clear();
    if (base::SaveParameters(-1, QString(130, u'P')))
        seeds.push_back({QStringLiteral("long-name.par"), readFile(base::ParameterFilePath())});
    seeds.push_back({QStringLiteral("short.par"), seeds.front().second.left(60)});
    base::setDataDirOverride({});
    QDir(dir).removeRecursively();
    return seeds;
}

ETIBARIX_FUZZ_TARGET(parameters)
{
    const QString dir = scratchDir();
    emptyDir(dir);
    base::setDataDirOverride(dir);
    const QString path = base::ParameterFilePath();
    writeFile(path, input);

    base::Parameters.Clear();
    FUZZ_CHECK(base::LoadParameters(), QStringLiteral("an existing file counts as none"));
    const qsizetype n = std::min<qsizetype>(input.size(), base::ParameterRecord::Size);
    QByteArray expected = QByteArray(base::ParameterRecord::Size, '\0');
    expected.replace(4, 8, QByteArray("\1\0\0\0\1\0\0\0", 8));
    expected.replace(0, n, input.first(n).toByteArray());
    FUZZ_CHECK(base::Parameters.Bytes() == expected, QStringLiteral("the record differs from the file's bytes"));
    if (input.size() < base::ParameterRecord::Size)
        FUZZ_CHECK(!QFileInfo::exists(path), QStringLiteral("a short file was kept"));
    else
        FUZZ_CHECK(readFile(path) == input, QStringLiteral("reading changed the file"));

    // The choices saved come from the input too.
    const int format = input.size() > 0 ? static_cast<signed char>(input[0]) : 0;
    const QString printer = base::fromCp1252(input.sliced(std::min<qsizetype>(input.size(), 17)).first(
        std::min<qsizetype>(std::max<qsizetype>(input.size() - 17, 0), 110)));
    FUZZ_CHECK(base::SaveParameters(format, printer), QStringLiteral("save failed"));
    const QByteArray saved = readFile(path);
    FUZZ_CHECK(saved.size() == base::ParameterRecord::Size && saved.startsWith("\3EBP"), QStringLiteral("saved file"));
    FUZZ_CHECK(saved == base::Parameters.Bytes(), QStringLiteral("the file differs from the record"));
    FUZZ_CHECK(base::Parameters.LabelFormatIndex == (format < 0 ? -1 : format), QStringLiteral("label format"));
    FUZZ_CHECK(base::Parameters.PrinterNameText() == printer.left(base::ParameterRecord::PrinterNameCapacity),
               QStringLiteral("printer name"));
    const base::ParameterRecord kept = base::Parameters;
    base::Parameters.Clear();
    FUZZ_CHECK(base::PeekParameters() && base::Parameters.Bytes() == kept.Bytes(), QStringLiteral("read back differs"));
    FUZZ_CHECK(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) == QStringList{QStringLiteral("ETIBARIX.PAR")},
               QStringLiteral("files left beside the parameter file"));
    base::setDataDirOverride({});
}
