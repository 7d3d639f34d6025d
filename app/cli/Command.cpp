#include "app/cli/Command.h"

#include "app/Parameters.h"
#include "i18n/LanguageTable.h"

#include <algorithm>

namespace etibarix::cli {
namespace {
std::vector<Command> &registry()
{
    static std::vector<Command> commands;
    return commands;
}
} // namespace

void CommandRegistry::add(Command command)
{
    auto &commands = registry();
    const auto pos = std::lower_bound(commands.begin(), commands.end(), command.name,
        [](const Command &c, const QString &name) { return c.name < name; });
    commands.insert(pos, std::move(command));
}

const std::vector<Command> &CommandRegistry::all()
{
    return registry();
}

const Command *CommandRegistry::find(const QString &name)
{
    for (const auto &c : registry())
        if (c.name == name)
            return &c;
    return nullptr;
}

std::optional<QString> Args::take(const QString &name)
{
    const qsizetype i = m_args.indexOf(name);
    if (i < 0)
        return std::nullopt;
    if (i + 1 >= m_args.size()) {
        m_error = QStringLiteral("option %1 needs a value").arg(name);
        m_args.removeAt(i);
        return std::nullopt;
    }
    QString value = m_args.at(i + 1);
    m_args.remove(i, 2);
    return value;
}

bool Args::flag(const QString &name)
{
    return m_args.removeAll(name) > 0;
}

int usageError(Context &ctx, const QString &message)
{
    ctx.err << "etibarix-cli: " << message << Qt::endl;
    return Usage;
}

int failure(Context &ctx, const QString &message)
{
    ctx.err << "etibarix-cli: " << message << Qt::endl;
    return Failed;
}

bool ChooseTextLanguage(Context &ctx, const std::optional<QString> &lang, const QString &command)
{
    if (lang) {
        bool ok = false;
        const int language = lang->toInt(&ok);
        if (!ok || language < 1 || language > 3) {
            usageError(ctx, command + QStringLiteral(": --lang must be 1, 2 or 3"));
            return false;
        }
        i18n::ClearLanguageTable();
        app::Parameters.Language = language;
        return true;
    }
    // Only looks: a damaged parameter file is left for the program to handle.
    app::Parameters.Language = 1;
    app::PeekParameters();
    i18n::LoadLanguageTable();
    return true;
}

} // namespace etibarix::cli
