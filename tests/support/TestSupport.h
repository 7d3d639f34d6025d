#pragma once
// Shared helpers of the test executables.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace etibarix::test {

// A fresh temporary data directory; path() ends with "/".
class DataDir {
public:
    DataDir();
    QString path() const;                  // with the final "/"
    QString file(const QString &name) const;
    bool isValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
};

QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);

// Path of a file in the source tree (fixtures), e.g. source("tests/data/x").
QString source(const QString &relative);

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the built etibarix-cli with the given arguments (UTF-8).
CliResult runCli(const QStringList &args, const QByteArray &stdinData = {});

// Runs a tool of the machine (pdftoppm, zbarimg, ...); exitCode -1 when it
// could not be started.
CliResult runTool(const QString &program, const QStringList &args, int timeoutMs = 60000);

} // namespace etibarix::test
