// etibarix-cli layouts [--file PATH | --builtin]: the label layouts of the
// report project as an indented tree. Without an option the project is
// chosen as a print job chooses it (etbdoc.rav in the data directory when it
// is newer than the built-in copy; the question is answered yes).

#include "base/Error.h"
#include "app/cli/Command.h"
#include "app/cli/LabelCommands.h"
#include "labels/project/BuiltinLayouts.h"
#include "labels/print/LabelReport.h"
#include "labels/project/LayoutTree.h"
#include "labels/project/ProjectFile.h"
#include "labels/project/ProjectReader.h"

#include <QFile>
#include <QFileInfo>

namespace etibarix::cli {
namespace {

using namespace etibarix::labels;

// The messages carry carriage returns between their parts; the terminal
// gets them on one line.
QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
}

ReportProject readFile(const QString &path, const ProjectFile::MessageHandler &messages)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        throw base::Error(LabelReport::missingFileMessage(LabelReport::fullPath(path)));
    if (file.size() > LabelReport::MaxFileSize)
        throw base::Error(ProjectReader::streamReadError());
    return ProjectFile::read(file.readAll(), messages);
}

} // namespace

int runLayouts(Context &ctx, const QStringList &arguments)
{
    Args args(arguments);
    const std::optional<QString> file = args.take(QStringLiteral("--file"));
    const bool builtin = args.flag(QStringLiteral("--builtin"));
    if (args.hasError())
        return usageError(ctx, args.error());
    if (!args.rest().isEmpty())
        return usageError(ctx, QStringLiteral("unexpected argument: ") + args.rest().first());
    if (file && builtin)
        return usageError(ctx, QStringLiteral("--file and --builtin exclude each other"));

    const auto messages = [&](const QString &message) { ctx.err << oneLine(message) << Qt::endl; };
    try {
        if (builtin) {
            ctx.out << LayoutTree::describe(BuiltinLayouts::create());
        } else if (file) {
            ctx.out << LayoutTree::describe(readFile(*file, messages));
        } else {
            LabelReport layouts;
            layouts.setMessageHandler(messages);
            layouts.setQuestionHandler([](const QString &) { return true; });
            layouts.SetLayoutFile(ctx.dataDir + QStringLiteral("etbdoc.rav"));
            layouts.OpenLayouts();
            ctx.out << LayoutTree::describe(layouts.project());
        }
    } catch (const base::Error &e) {
        return failure(ctx, oneLine(e.text()));
    }
    return Ok;
}

} // namespace etibarix::cli
