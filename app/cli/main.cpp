// etibarix-cli: every capability of the program from a terminal, for batch
// printing and for testing without a display.

#include "base/DataDir.h"
#include "base/Error.h"
#include "app/cli/Command.h"
#include "backup/DataBackup.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

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

} // namespace

int main(int argc, char **argv)
{
    // Fonts and painting need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Etibarix"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    QStringList args = QGuiApplication::arguments().mid(1);
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
