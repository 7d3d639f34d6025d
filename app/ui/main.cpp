// The desktop program: the application object, the windows created once and
// hidden, then the message loop, which shows the main window. Closing the
// main window ends the program.

#include "app/ui/EtibarixApplication.h"
#include "app/ui/MainWindow.h"
#include "app/ui/ProgramWindows.h"
#include "base/DataDir.h"
#include "i18n/AddedTexts.h"

#include <QLocale>
#include <QMessageBox>

#include <cstdio>
#include <cstring>

namespace {

const char Usage[] =
    "usage: etibarix [--dir DIR]\n"
    "       etibarix --help | --version\n\n"
    "  --dir DIR   data directory (default: $ETIBARIX_DIR, else the program's own\n"
    "              directory for a portable copy, else ~/.local/share/etibarix)\n"
    "  --help      print this text\n"
    "  --version   print the version\n";

// Before the data directory, and so the parameter file, is known, the
// system's language stands for the user's.
QString dataDirProblem(const etibarix::base::DataDirResult &result)
{
    const int language = QLocale::system().language() == QLocale::French       ? 1
                         : QLocale::system().language() == QLocale::Portuguese ? 3
                                                                               : 2;
    using etibarix::i18n::Text;
    const Text text = result.status == etibarix::base::DataDirResult::Missing ? Text::DataFolderMissing : Text::DataFolderNotCreated;
    return etibarix::i18n::AddedText(text, language).arg(result.dir);
}

} // namespace

int main(int argc, char **argv)
{
    // Read before the window system is reached: --help and --version work
    // without a display. The toolkit's own options are left to it.
    QString dir;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("etibarix %s\n", ETIBARIX_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--dir") == 0) {
            if (i + 1 == argc) {
                std::fprintf(stderr, "etibarix: option --dir needs a value\n%s", Usage);
                return 2;
            }
            dir = QString::fromLocal8Bit(argv[++i]);
        }
    }

    etibarix::app::EtibarixApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Etibarix"));
    QApplication::setApplicationVersion(QStringLiteral(ETIBARIX_VERSION));
    const etibarix::base::DataDirResult dataDir =
        etibarix::base::UseDataDir(etibarix::base::DataDirPlaces::current(dir));
    if (!dataDir.ready()) {
        std::fprintf(stderr, "etibarix: %s\n", qPrintable(dataDir.problemText()));
        QMessageBox::critical(nullptr, QStringLiteral("Etibarix"), dataDirProblem(dataDir));
        return 1;
    }

    etibarix::app::ProgramWindows windows;
    windows.Fprincip().show();
    // The start-up work runs at the first activation: ask for it rather than
    // wait for the window manager to grant it.
    windows.Fprincip().activateWindow();
    return QApplication::exec();
}
