#include "tests/fuzz/FuzzTarget.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace etibarix::fuzz {

namespace {

QString &scratchPath()
{
    static QString path;
    return path;
}

void removeScratch()
{
    if (!scratchPath().isEmpty())
        QDir(scratchPath()).removeRecursively();
}

} // namespace

[[noreturn]] void fail(const char *file, int line, const char *condition, const QString &detail)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n  %s\n", file, line, condition,
                 detail.toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

QString scratchDir()
{
    QString &path = scratchPath();
    if (path.isEmpty()) {
        QByteArray pattern = QFile::encodeName(QDir::tempPath()) + "/etibarix-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            fail(__FILE__, __LINE__, "mkdtemp", QStringLiteral("no scratch directory"));
        path = QFile::decodeName(pattern) + u'/';
        std::atexit(removeScratch);
    }
    return path;
}

void emptyDir(const QString &dir)
{
    QDir d(dir);
    const QFileInfoList entries =
        d.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &e : entries) {
        if (e.isDir() && !e.isSymLink())
            QDir(e.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(e.absoluteFilePath());
    }
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString &path, QByteArrayView bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes.data(), bytes.size()) != bytes.size())
        fail(__FILE__, __LINE__, "writeFile", path);
}

void ensureGuiApplication()
{
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "etibarix-fuzz";
    static char *argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

std::map<std::string, SeedFunction> &seedRegistry()
{
    static std::map<std::string, SeedFunction> seeds;
    return seeds;
}

SeedRegistrar::SeedRegistrar(const char *name, SeedFunction function)
{
    seedRegistry()[name] = function;
}

#ifndef ETIBARIX_FUZZ_ENGINE
std::map<std::string, TargetFunction> &registry()
{
    static std::map<std::string, TargetFunction> targets;
    return targets;
}

TargetRegistrar::TargetRegistrar(const char *name, TargetFunction function)
{
    registry()[name] = function;
}
#endif

} // namespace etibarix::fuzz
