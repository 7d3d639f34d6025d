#include "tests/support/TestSupport.h"

#include <QFile>
#include <QProcess>

namespace etibarix::test {

DataDir::DataDir() = default;

QString DataDir::path() const
{
    return m_dir.path() + u'/';
}

QString DataDir::file(const QString &name) const
{
    return path() + name;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

QString source(const QString &relative)
{
    return QStringLiteral(ETIBARIX_SOURCE_DIR "/") + relative;
}

CliResult runTool(const QString &program, const QStringList &args, int timeoutMs)
{
    CliResult r;
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000))
        return r;
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

CliResult runCli(const QStringList &args, const QByteArray &stdinData)
{
    CliResult r;
    QProcess p;
    p.start(QStringLiteral(ETIBARIX_BIN_DIR "/etibarix-cli"), args);
    if (!p.waitForStarted(10000))
        return r;
    if (!stdinData.isEmpty())
        p.write(stdinData);
    p.closeWriteChannel();
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace etibarix::test
