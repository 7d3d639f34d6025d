// Replays corpus files through a fuzz target without the fuzzing engine:
//   fuzz_replay TARGET PATH...   (a path may be a file or a directory)
//   fuzz_replay --seeds TARGET DIR   writes the target's seed corpus
// Every file of the corpus is run once; a broken property aborts, which the
// test run reports as a failure naming the file.

#include "tests/fuzz/FuzzTarget.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <map>
#include <string>

namespace etibarix::fuzz {
std::map<std::string, TargetFunction> &registry();
std::map<std::string, SeedFunction> &seedRegistry();
}

int main(int argc, char **argv)
{
    using namespace etibarix::fuzz;
    if (argc == 4 && std::string(argv[1]) == "--seeds" && seedRegistry().count(argv[2]) != 0) {
        const QString dir = QFile::decodeName(argv[3]);
        QDir().mkpath(dir);
        for (const auto &[name, bytes] : seedRegistry()[argv[2]]())
            writeFile(dir + u'/' + name, bytes);
        return 0;
    }
    if (argc < 3 || registry().count(argv[1]) == 0) {
        std::fprintf(stderr, "usage: %s TARGET PATH...\ntargets:", argv[0]);
        for (const auto &entry : registry())
            std::fprintf(stderr, " %s", entry.first.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    const TargetFunction target = registry()[argv[1]];
    QStringList files;
    for (int i = 2; i < argc; ++i) {
        const QString path = QFile::decodeName(argv[i]);
        if (QFileInfo(path).isDir()) {
            QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next();
        } else {
            files << path;
        }
    }
    files.sort();
    if (files.isEmpty()) {
        std::fprintf(stderr, "no corpus file found\n");
        return 1;
    }
    for (const QString &file : files) {
        std::fprintf(stderr, "%s\n", QFile::encodeName(file).constData());
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", QFile::encodeName(file).constData());
            return 1;
        }
        const QByteArray input = f.readAll();
        target(input);
    }
    std::printf("%lld corpus files passed\n", static_cast<long long>(files.size()));
    return 0;
}
