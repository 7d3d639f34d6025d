// What etibarix-cli does as a command-line tool: --version, COMMAND --help,
// the usage after a usage error, the data directory from the environment,
// and a quiet stderr where the session sets no runtime directory.

#include "tests/support/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace etibarix;

namespace {

QString program(const char *name)
{
    return QStringLiteral(ETIBARIX_BIN_DIR "/") + QString::fromLatin1(name);
}

// Runs etibarix-cli with changes to the environment (an empty value unsets).
test::CliResult runWith(const QStringList &args, const QList<std::pair<QString, QString>> &environment)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : environment) {
        if (value.isEmpty())
            env.remove(name);
        else
            env.insert(name, value);
    }
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program("etibarix-cli"), args);
    test::CliResult r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QStringList commandNames()
{
    const QByteArray usage = test::runCli({QStringLiteral("--help")}).out;
    QStringList names;
    const qsizetype at = usage.indexOf("commands:\n");
    for (const QByteArray &line : usage.mid(at + 10).split('\n'))
        if (!line.trimmed().isEmpty())
            names += QString::fromUtf8(line.trimmed().split(' ').first());
    return names;
}

TEST(CliConventions, BothProgramsTellTheirVersion)
{
    const test::CliResult cli = test::runCli({QStringLiteral("--version")});
    const test::CliResult desktop = test::runTool(program("etibarix"), {QStringLiteral("--version")});
    EXPECT_EQ(cli.exitCode, 0);
    EXPECT_EQ(desktop.exitCode, 0);
    const QRegularExpression version(QStringLiteral("^etibarix(-cli)? (\\d+\\.\\d+)\n$"));
    const auto a = version.match(QString::fromUtf8(cli.out));
    const auto b = version.match(QString::fromUtf8(desktop.out));
    ASSERT_TRUE(a.hasMatch() && b.hasMatch()) << cli.out.constData() << desktop.out.constData();
    EXPECT_EQ(a.captured(1), QStringLiteral("-cli"));
    EXPECT_EQ(a.captured(2), b.captured(2));
    EXPECT_TRUE(test::runTool(program("etibarix"), {QStringLiteral("--help")}).out.startsWith("usage: etibarix [--dir DIR]"));
}

TEST(CliConventions, EveryCommandPrintsItsUsageOnHelp)
{
    const QStringList names = commandNames();
    ASSERT_GE(names.size(), 11);
    test::DataDir dir;
    for (const QString &name : names) {
        const test::CliResult r = test::runCli({QStringLiteral("--dir"), dir.path(), name, QStringLiteral("--help")});
        EXPECT_EQ(r.exitCode, 0) << name.toStdString();
        EXPECT_TRUE(r.out.startsWith(QByteArray("usage: etibarix-cli [--dir DIR] " + name.toUtf8()))) << r.out.constData();
        EXPECT_EQ(r.err, QByteArray()) << name.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("article.dbf"))));
}

TEST(CliConventions, UsageErrorsEndWithTheCommandsUsage)
{
    const struct {
        QStringList args;
        const char *message;
    } cases[] = {
        {{QStringLiteral("add")}, "add: --cb is required"},
        {{QStringLiteral("list"), QStringLiteral("--bogus")}, "list: unexpected argument: --bogus"},
        {{QStringLiteral("print")}, "print: give either --pdf FILE or --printer NAME"},
        {{QStringLiteral("backup")}, "usage: backup ARCHIVE"},
        // A character Windows-1252 cannot hold is refused, not left out.
        {{QStringLiteral("code128"), QStringLiteral("A\u4E2DB")}, "the character \u4E2D (U+4E2D) cannot be stored"},
    };
    test::DataDir dir;
    for (const auto &c : cases) {
        const test::CliResult r = test::runCli(QStringList{QStringLiteral("--dir"), dir.path()} + c.args);
        const QByteArray usage = test::runCli({c.args.first(), QStringLiteral("--help")}).out.split('\n').first();
        ASSERT_TRUE(usage.startsWith("usage: etibarix-cli")) << usage.constData();
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_EQ(r.out, QByteArray()) << c.message;
        EXPECT_TRUE(r.err.startsWith("etibarix-cli: ")) << r.err.constData();
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(QString::fromUtf8(c.message))) << r.err.constData();
        EXPECT_TRUE(r.err.endsWith(QByteArray('\n' + usage + '\n'))) << r.err.constData();
    }
}

TEST(CliConventions, DataDirectoryFromTheEnvironmentAndAQuietStderr)
{
    test::DataDir dir;
    const test::CliResult add = runWith({QStringLiteral("add"), QStringLiteral("--cb"), QStringLiteral("42")},
        {{QStringLiteral("ETIBARIX_DIR"), dir.path()}, {QStringLiteral("XDG_RUNTIME_DIR"), QString()}});
    EXPECT_EQ(add.exitCode, 0);
    EXPECT_EQ(add.out, QByteArray("1\n"));
    EXPECT_EQ(add.err, QByteArray());
    EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("article.dbf"))));

    const test::CliResult print = runWith(
        {QStringLiteral("--dir"), dir.path(), QStringLiteral("print"), QStringLiteral("--pdf"), dir.file(QStringLiteral("l.pdf"))},
        {{QStringLiteral("ETIBARIX_DIR"), dir.file(QStringLiteral("nowhere"))}, {QStringLiteral("XDG_RUNTIME_DIR"), QString()}});
    EXPECT_EQ(print.exitCode, 0) << print.err.constData();
    EXPECT_EQ(print.err, QByteArray());

    const test::CliResult missing = runWith({QStringLiteral("list")},
        {{QStringLiteral("ETIBARIX_DIR"), dir.file(QStringLiteral("nowhere"))}});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "etibarix-cli: no such directory: " + dir.file(QStringLiteral("nowhere")).toUtf8() + '\n');
}

} // namespace

// etibarix-cli alone (a copy without the labels tool beside it) still runs
// the record commands, and says plainly that a label command cannot run.
TEST(CliConventions, LabelCommandsAreHandedToTheLabelsTool)
{
    test::DataDir dir;
    const QString alone = dir.file(QStringLiteral("etibarix-cli"));
    ASSERT_TRUE(QFile::copy(program("etibarix-cli"), alone));
    const auto run = [&](const QStringList &args) {
        QProcess p;
        p.start(alone, QStringList{QStringLiteral("--dir"), dir.path()} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return std::pair{p.exitCode(), p.readAllStandardError()};
    };
    EXPECT_EQ(run({QStringLiteral("add"), QStringLiteral("--cb"), QStringLiteral("A1")}).first, 0);
    const auto [code, err] = run({QStringLiteral("print"), QStringLiteral("--pdf"), dir.file(QStringLiteral("out.pdf"))});
    EXPECT_EQ(code, 1);
    EXPECT_EQ(err, "etibarix-cli: etibarix-cli-labels, which runs this command, is not installed\n");
    // Beside the tool, as built, the same command prints.
    EXPECT_EQ(test::runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("print"), QStringLiteral("--pdf"),
                  dir.file(QStringLiteral("out.pdf"))}).exitCode, 0);
    // The record commands load no graphics library.
    const QByteArray needed = test::runTool(QStringLiteral("readelf"), {QStringLiteral("-d"), alone}).out;
    EXPECT_TRUE(needed.contains("libQt6Core")) << needed.constData();
    EXPECT_FALSE(needed.contains("libQt6Gui")) << needed.constData();
}
