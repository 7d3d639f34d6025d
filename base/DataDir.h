#pragma once
// The data directory: every file the program reads or writes on its own
// lives directly in it, named by appending to DataDir().

#include <QString>
#include <QStringList>

namespace etibarix::base {

// The data directory in use, ending with "/": the one UseDataDir chose or
// a test set, otherwise the directory of the running executable.
QString DataDir();

// Points the program at another data directory (tests). An empty text
// removes the override. A missing final "/" is added.
void setDataDirOverride(const QString &dir);

// Directory of the running executable (from /proc/self/exe), ending with
// "/"; the help and a portable copy's data are found there.
QString ExecutableDir();

// What the choice of the data directory looks at.
struct DataDirPlaces {
    QString option;        // --dir DIR; empty when not given
    QString environment;   // ETIBARIX_DIR; empty when unset
    QString programDir;    // the executable's directory
    QString userDataHome;  // $XDG_DATA_HOME, or ~/.local/share
    // Where the system installs programs: a program there keeps its data in
    // the user's home even when it could write beside itself (as root).
    QStringList systemRoots = {QStringLiteral("/usr/"), QStringLiteral("/bin/"), QStringLiteral("/sbin/"),
        QStringLiteral("/lib/"), QStringLiteral("/lib64/"), QStringLiteral("/opt/"), QStringLiteral("/snap/"),
        QStringLiteral("/etc/"), QStringLiteral("/var/"), QStringLiteral("/nix/")};

    // The places as the running program sees them.
    static DataDirPlaces current(const QString &option);
};

struct DataDirChoice {
    enum Source { Option, Environment, Program, User };
    Source source = Program;
    QString dir;  // absolute, ends with "/"
};

// In this order: --dir, ETIBARIX_DIR, the program's directory when it is a
// portable copy (it holds article.dbf or ETIBARIX.PAR, or it is writable and
// not a system directory), otherwise userDataHome/etibarix.
DataDirChoice ChooseDataDir(const DataDirPlaces &places);

// Chooses the data directory and makes DataDir() return it; the user's
// directory is created when it is chosen and missing. A directory named by
// --dir or ETIBARIX_DIR must exist. On a problem DataDir() is left as it was.
struct DataDirResult {
    enum Status { Ready, Missing, NotCreated };
    Status status = Ready;
    QString dir;  // the directory chosen, as named

    bool ready() const { return status == Ready; }
    // The problem in one line for the terminal ("no such directory: DIR").
    QString problemText() const;
};
DataDirResult UseDataDir(const DataDirPlaces &places);

} // namespace etibarix::base
