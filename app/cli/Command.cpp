#include "app/cli/Command.h"

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

} // namespace etibarix::cli
