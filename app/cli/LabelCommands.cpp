// The label commands' names and usage, in both executables: etibarix-cli
// lists them and hands them over (no run function here), the labels tool
// runs them.

#include "app/cli/LabelCommands.h"

#include <QDir>
#include <QFileInfo>

namespace etibarix::cli {
namespace {

#ifdef ETIBARIX_CLI_LABELS
#define LABEL_RUN(function) function
#else
#define LABEL_RUN(function) nullptr
#endif

const CommandRegistrar calibrationRegistrar{Command{
    QStringLiteral("calibration"),
    QStringLiteral("[--printer NAME] [--set X Y]   show or store a printer's offsets in mm (-20 to 20): "
                   "name, x (to the right), y (downwards)"),
    LABEL_RUN(runCalibration),
}};

const CommandRegistrar code128Registrar{Command{
    QStringLiteral("code128"),
    QStringLiteral("TEXT [--codeset A|B|C] [--no-optimize]   encode TEXT as Code 128"),
    LABEL_RUN(runCode128),
}};

const CommandRegistrar formatsRegistrar{Command{
    QStringLiteral("formats"),
    QStringLiteral("[--lang 1|2|3]   list the label formats: position, entry (custom for your own), text"),
    LABEL_RUN(runFormats),
}};

const CommandRegistrar layoutsRegistrar{Command{
    QStringLiteral("layouts"),
    QStringLiteral("[--file PATH | --builtin]"),
    LABEL_RUN(runLayouts),
}};

const CommandRegistrar printRegistrar{Command{
    QStringLiteral("print"),
    QStringLiteral("(--pdf OUT.pdf | --printer NAME) [--format 1..13|NAME] [--codeset A|B|C] [--no-text1] [--no-text2] "
                   "[--builtin-layouts] [--start N] [--fit] [--offset-x MM] [--offset-y MM] [--test-sheet] "
                   "[--matching [--cb T] [--t1 T] [--t2 T] [--top flagged|unflagged|all] "
                   "[--sort num|cb|lib1|lib2|quantite|topp] [--desc]]   print the records as label sheets "
                   "(--start: first label of the first sheet; --fit: shrink barcodes wider than their label; "
                   "--offset-x/-y: move this run's sheets, else a printer's calibration; --test-sheet: the "
                   "format's test sheet instead of records)"),
    LABEL_RUN(runPrint),
    true,
}};

const CommandRegistrar printersRegistrar{Command{
    QStringLiteral("printers"),
    QStringLiteral("  list the installed printers, the default one marked"),
    LABEL_RUN(runPrinters),
    true,
}};

} // namespace

QString LabelToolPath()
{
    const QString own = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QDir dir = QFileInfo(own).absoluteDir();
    for (const QString &candidate :
         {dir.filePath(QStringLiteral("../libexec/etibarix/etibarix-cli-labels")), dir.filePath(QStringLiteral("etibarix-cli-labels"))}) {
        if (QFileInfo(candidate).isExecutable())
            return QDir::cleanPath(candidate);
    }
    return {};
}

} // namespace etibarix::cli
