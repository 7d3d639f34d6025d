// etibarix-cli: every capability of the program from a terminal, for batch
// printing and for testing without a display.

#include "base/DataDir.h"
#include "base/Error.h"
#include "app/cli/Command.h"
#include "app/cli/LabelCommands.h"
#include "backup/DataBackup.h"

#include <QDir>
#include <QFile>
#include <QCoreApplication>
#ifdef ETIBARIX_CLI_LABELS
#include <QGuiApplication>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using namespace etibarix;

namespace {

void printUsage(QTextStream &s)
{
    s << "usage: etibarix-cli [--dir DIR] COMMAND [ARGS...]\n"
         "       etibarix-cli COMMAND --help\n\n"
         "  --dir DIR   data directory (default: $ETIBARIX_DIR, else the program's own\n"
         "              directory for a portable copy, else ~/.local/share/etibarix)\n"
         "  --help      print this text\n"
         "  --version   print the version\n\n"
         "commands:\n";
    for (const auto &c : cli::CommandRegistry::all())
        s << "  " << c.name << (c.synopsis.isEmpty() ? QString() : QStringLiteral(" ") + c.synopsis) << '\n';
    s.flush();
}

// Where the session sets no runtime directory (a terminal over ssh, cron),
// Qt warns on every run before it falls back to a private one in the
// temporary folder: give it that directory, without the warning.
void ensureRuntimeDir()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QByteArray dir = QFile::encodeName(QDir::tempPath()) + "/runtime-" + QByteArray::number(getuid());
    ::mkdir(dir.constData(), 0700);
    struct stat info {};
    if (::lstat(dir.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid()
        && (info.st_mode & 0777) == 0700)
        qputenv("XDG_RUNTIME_DIR", dir);
}

// The command named on the command line, known before any application
// object exists; nullptr when an option such as --help comes first.
const cli::Command *namedCommand(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView arg(argv[i]);
        if (arg == "--dir") {
            ++i;
            continue;
        }
        if (arg.startsWith("--"))
            return nullptr;
        return cli::CommandRegistry::find(QString::fromLocal8Bit(argv[i]));
    }
    return nullptr;
}

// Runs the labels tool in this process's place, with the same arguments.
int handOverToLabelTool(char **argv)
{
    const QString tool = cli::LabelToolPath();
    if (tool.isEmpty()) {
        std::fprintf(stderr, "etibarix-cli: etibarix-cli-labels, which runs this command, is not installed\n");
        return cli::Failed;
    }
    const QByteArray path = QFile::encodeName(tool);
    ::execv(path.constData(), argv);
    std::fprintf(stderr, "etibarix-cli: cannot start %s: %s\n", path.constData(), std::strerror(errno));
    return cli::Failed;
}

} // namespace

int main(int argc, char **argv)
{
    const cli::Command *named = namedCommand(argc, argv);
    if (named && !named->run)
        return handOverToLabelTool(argv);
    ensureRuntimeDir();
    std::unique_ptr<QCoreApplication> application;
#ifdef ETIBARIX_CLI_LABELS
    if (named && named->draws) {
        // Fonts and painting need a GUI application, never a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
#endif
    if (!application)
        application = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Etibarix"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    QStringList args = QCoreApplication::arguments().mid(1);
    QString dir;
    while (!args.isEmpty() && args.first().startsWith(QStringLiteral("--"))) {
        const QString opt = args.takeFirst();
        if (opt == QStringLiteral("--dir") && !args.isEmpty()) {
            dir = args.takeFirst();
        } else if (opt == QStringLiteral("--help")) {
            printUsage(out);
            return cli::Ok;
        } else if (opt == QStringLiteral("--version")) {
            out << "etibarix-cli " << ETIBARIX_VERSION << Qt::endl;
            return cli::Ok;
        } else {
            printUsage(err);
            return cli::Usage;
        }
    }
    if (args.isEmpty()) {
        printUsage(err);
        return cli::Usage;
    }
    // The same directory as the desktop program would use.
    const base::DataDirResult dataDir = base::UseDataDir(base::DataDirPlaces::current(dir));
    if (!dataDir.ready()) {
        err << "etibarix-cli: " << dataDir.problemText() << Qt::endl;
        return cli::Failed;
    }

    const QString name = args.takeFirst();
    const cli::Command *command = cli::CommandRegistry::find(name);
    if (!command) {
        err << "etibarix-cli: unknown command: " << name << "\n";
        printUsage(err);
        return cli::Usage;
    }
    if (args.contains(QStringLiteral("--help"))) {
        out << cli::CommandUsage(*command) << '\n';
        if (const QString summary = cli::CommandSummary(*command); !summary.isEmpty())
            out << '\n' << summary << '\n';
        return cli::Ok;
    }
    // A restore killed while it swapped the data files is finished or
    // undone before anything reads them.
    backup::RecoverInterruptedRestore(base::DataDir());
    cli::Context ctx{out, err, base::DataDir()};
    int rc = cli::Failed;
    try {
        rc = command->run(ctx, args);
    } catch (const base::Error &e) {
        rc = cli::failure(ctx, QString(e.text()).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    } catch (const std::exception &e) {
        rc = cli::failure(ctx, QString::fromUtf8(e.what()));
    }
    if (rc == cli::Usage)
        err << cli::CommandUsage(*command) << '\n';
    out.flush();
    err.flush();
    return rc;
}
