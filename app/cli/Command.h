#pragma once
// Command registry of etibarix-cli. Each command lives in its own source file
// of app/cli/ and registers itself with a static CommandRegistrar, so adding a
// command never touches main.cpp.
//
// Exit codes: 0 done, 1 failed (one line on stderr), 2 usage error.
// Arguments and output are UTF-8; the files hold Windows-1252.

#include "records/ListState.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <optional>
#include <vector>

namespace etibarix::store {
class Table;
}

namespace etibarix::cli {

enum ExitCode { Ok = 0, Failed = 1, Usage = 2 };

struct Context {
    QTextStream &out;
    QTextStream &err;
    QString dataDir;   // the program directory in use (DataDir), ends with "/"
};

struct Command {
    QString name;
    QString synopsis;  // one line for the usage text, without the name
    std::function<int(Context &, const QStringList &args)> run;
    // Draws or asks the printing system: runs under a GUI application. The
    // others start faster without one.
    bool draws = false;
};

class CommandRegistry {
public:
    static void add(Command command);
    static const std::vector<Command> &all();
    static const Command *find(const QString &name);
};

struct CommandRegistrar {
    explicit CommandRegistrar(Command command) { CommandRegistry::add(std::move(command)); }
};

// Small helpers for the commands' own option parsing.
class Args {
public:
    explicit Args(QStringList args) : m_args(std::move(args)) {}
    // Removes "--name VALUE" and returns VALUE; nullopt when absent.
    // Sets error() when the option has no value.
    std::optional<QString> take(const QString &name);
    // Removes "--name"; true when it was there.
    bool flag(const QString &name);
    const QStringList &rest() const { return m_args; }
    bool hasError() const { return !m_error.isEmpty(); }
    const QString &error() const { return m_error; }

private:
    QStringList m_args;
    QString m_error;
};

// The usage line of a command ("usage: etibarix-cli [--dir DIR] NAME ARGS"),
// then what it does: its synopsis is the usage, two spaces, the summary.
QString CommandUsage(const Command &command);
QString CommandSummary(const Command &command);

// Opens the record table up front, as the program does at start. A table
// that cannot be opened is reported as a statement on it reports it, then
// the table engine's own reason.
void OpenTable(store::Table &table);

// Prints "etibarix-cli: <message>" to err and returns Usage.
int usageError(Context &ctx, const QString &message);
// Prints "etibarix-cli: <message>" to err and returns Failed.
int failure(Context &ctx, const QString &message);

// A text for the table, or nullopt after a usage error that names the
// option and the first character Windows-1252 cannot store.
std::optional<QByteArray> tableText(Context &ctx, const QString &option, const QString &text);

// The record list's criteria and sort options, as `list` and
// `print --matching` take them.
struct ListOptions {
    std::optional<QString> cb, t1, t2, top, sort;
    bool desc = false;

    static ListOptions take(Args &args);
    bool any() const { return cb || t1 || t2 || top || sort || desc; }
    // Fills state; false after a usage error, prefixed with command.
    bool toState(Context &ctx, const QString &command, records::ListState &state) const;
};

// The record field options, as `add` takes them (the values) and `import`
// (the column of each field).
struct FieldOptions {
    std::optional<QString> cb, t1, t2, qty;

    static FieldOptions take(Args &args);
};

// Sets up the texts of a command's output. An explicit --lang value (1, 2
// or 3) means the built-in texts of that language; without it, the texts
// are those the program would start with in this directory (the parameter
// file's language, the language file when it is there). False after a usage
// error was reported for a bad value.
bool ChooseTextLanguage(Context &ctx, const std::optional<QString> &lang, const QString &command);

} // namespace etibarix::cli
