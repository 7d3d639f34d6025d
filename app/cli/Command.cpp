#include "app/cli/Command.h"

#include "base/Cp1252.h"
#include "base/Error.h"
#include "base/Parameters.h"
#include "i18n/LanguageTable.h"
#include "records/ListStatements.h"
#include "store/Query.h"
#include "store/TableFiles.h"

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

namespace {
qsizetype summaryStart(const QString &synopsis)
{
    const qsizetype gap = synopsis.indexOf(QStringLiteral("  "));
    return gap < 0 ? synopsis.size() : gap;
}
} // namespace

QString CommandUsage(const Command &command)
{
    const QString args = command.synopsis.left(summaryStart(command.synopsis)).trimmed();
    return QStringLiteral("usage: etibarix-cli [--dir DIR] ") + command.name
        + (args.isEmpty() ? QString() : QStringLiteral(" ") + args);
}

QString CommandSummary(const Command &command)
{
    return command.synopsis.mid(summaryStart(command.synopsis)).trimmed();
}

void OpenTable(store::Table &table)
{
    try {
        store::OpenArticleTable(table);
    } catch (const base::Error &e) {
        throw base::Error(store::Query::notOpenedText("article") + u' ' + e.text());
    }
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

std::optional<QByteArray> tableText(Context &ctx, const QString &option, const QString &text)
{
    if (auto bytes = base::toCp1252(text))
        return bytes;
    for (const char32_t cp : text.toUcs4()) {
        const QString one = QString::fromUcs4(&cp, 1);
        if (!base::toCp1252(one)) {
            usageError(ctx, QStringLiteral("%1: the character %2 (U+%3) cannot be stored in Windows-1252")
                                .arg(option, one, QString::number(static_cast<uint>(cp), 16).toUpper().rightJustified(4, u'0')));
            return std::nullopt;
        }
    }
    usageError(ctx, QStringLiteral("%1: text cannot be stored in Windows-1252").arg(option));
    return std::nullopt;
}

FieldOptions FieldOptions::take(Args &args)
{
    FieldOptions o;
    o.cb = args.take(QStringLiteral("--cb"));
    o.t1 = args.take(QStringLiteral("--t1"));
    o.t2 = args.take(QStringLiteral("--t2"));
    o.qty = args.take(QStringLiteral("--qty"));
    return o;
}

ListOptions ListOptions::take(Args &args)
{
    ListOptions o;
    o.cb = args.take(QStringLiteral("--cb"));
    o.t1 = args.take(QStringLiteral("--t1"));
    o.t2 = args.take(QStringLiteral("--t2"));
    o.top = args.take(QStringLiteral("--top"));
    o.sort = args.take(QStringLiteral("--sort"));
    o.desc = args.flag(QStringLiteral("--desc"));
    return o;
}

bool ListOptions::toState(Context &ctx, const QString &command, records::ListState &state) const
{
    const std::pair<const std::optional<QString> &, QByteArray *> texts[] = {
        {cb, &state.criteriaCb}, {t1, &state.criteriaText1}, {t2, &state.criteriaText2}};
    const char *names[] = {"--cb", "--t1", "--t2"};
    for (std::size_t i = 0; i < 3; ++i) {
        if (!texts[i].first)
            continue;
        const auto bytes = tableText(ctx, command + QStringLiteral(": ") + QString::fromLatin1(names[i]), *texts[i].first);
        if (!bytes)
            return false;
        *texts[i].second = *bytes;
    }
    // The refusal speaks the program's language.
    ChooseTextLanguage(ctx, std::nullopt, command);
    try {
        records::RefuseQuotedCriteria(state);
    } catch (const base::Error &e) {
        usageError(ctx, command + QStringLiteral(": ") + e.text());
        return false;
    }
    if (top) {
        if (*top == u"flagged")
            state.top = records::TopChoice::Flagged;
        else if (*top == u"unflagged")
            state.top = records::TopChoice::Unflagged;
        else if (*top != u"all") {
            usageError(ctx, command + QStringLiteral(": --top takes flagged, unflagged or all"));
            return false;
        }
    }
    if (sort) {
        const QStringList columns = {QStringLiteral("num"), QStringLiteral("cb"), QStringLiteral("lib1"),
            QStringLiteral("lib2"), QStringLiteral("quantite"), QStringLiteral("topp")};
        state.SortColumn = static_cast<int>(columns.indexOf(sort->toLower()));
        if (state.SortColumn < 0) {
            usageError(ctx, command + QStringLiteral(": --sort takes num, cb, lib1, lib2, quantite or topp"));
            return false;
        }
    }
    state.SortDescending = desc;
    return true;
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
        base::Parameters.Language = language;
        return true;
    }
    // Only looks: a damaged parameter file is left for the program to handle.
    base::Parameters.Language = 1;
    base::PeekParameters();
    i18n::LoadLanguageTable();
    return true;
}

} // namespace etibarix::cli
