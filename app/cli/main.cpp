// etibarix-cli: every capability of the program from a terminal, for batch
// printing and for testing without a display.

#include "base/DataDir.h"
#include "base/Error.h"
#include "app/cli/Command.h"
#include "backup/DataBackup.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

using namespace etibarix;

namespace {

void printUsage(QTextStream &s)
{
    s << "usage: etibarix-cli [--dir DIR] COMMAND [ARGS...]\n\n"
         "  --dir DIR   data directory (default: the program's own directory)\n\n"
         "commands:\n";
    for (const auto &c : cli::CommandRegistry::all())
        s << "  " << c.name << (c.synopsis.isEmpty() ? QString() : QStringLiteral(" ") + c.synopsis) << '\n';
    s.flush();
}

// Whether the command named on the command line draws, known before any
// application object exists.
bool commandDraws(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView arg(argv[i]);
        if (arg == "--dir") {
            ++i;
            continue;
        }
        if (arg.startsWith("--"))
            return false;
        const cli::Command *command = cli::CommandRegistry::find(QString::fromLocal8Bit(argv[i]));
        return command && command->draws;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    std::unique_ptr<QCoreApplication> application;
    if (commandDraws(argc, argv)) {
        // Fonts and painting need a GUI application, never a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
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
        } else {
            printUsage(err);
            return cli::Usage;
        }
    }
    if (args.isEmpty()) {
        printUsage(err);
        return cli::Usage;
    }
    if (!dir.isEmpty()) {
        if (!QDir(dir).exists()) {
            err << "etibarix-cli: no such directory: " << dir << Qt::endl;
            return cli::Failed;
        }
        base::setDataDirOverride(QDir(dir).absolutePath());
    }

    const QString name = args.takeFirst();
    const cli::Command *command = cli::CommandRegistry::find(name);
    if (!command) {
        err << "etibarix-cli: unknown command: " << name << "\n";
        printUsage(err);
        return cli::Usage;
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
    out.flush();
    err.flush();
    return rc;
}
