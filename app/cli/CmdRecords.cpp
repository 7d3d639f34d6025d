// The record commands of etibarix-cli: `sql` runs one statement of the
// dialect, `list` runs the record list's statement, `add` creates a record as
// the record dialog does. Arguments and output are UTF-8, the table holds
// Windows-1252; a text that Windows-1252 cannot hold is refused before
// anything is opened or written.

#include "records/RecordDatabase.h"
#include "store/TableFiles.h"
#include "base/Cp1252.h"
#include "base/Error.h"
#include "app/cli/Command.h"
#include "records/ListStatements.h"
#include "records/RecordCommands.h"
#include "records/RecordList.h"
#include "records/RecordRules.h"
#include "records/RecordStatements.h"
#include "i18n/LanguageTable.h"

#include <QIODevice>

#include <charconv>
#include <optional>

namespace etibarix::cli {
namespace {

// Tab, line feed and backslash inside a value would break the one-line,
// tab-separated output.
void appendEscaped(QByteArray &out, QByteArrayView cp1252)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < cp1252.size(); ++i) {
        const char c = cp1252[i];
        if (c != '\\' && c != '\t' && c != '\n')
            continue;
        base::appendCp1252AsUtf8(out, cp1252.sliced(from, i - from));
        out.append(c == '\\' ? "\\\\" : c == '\t' ? "\\t" : "\\n");
        from = i + 1;
    }
    base::appendCp1252AsUtf8(out, cp1252.sliced(from));
}

// Written as UTF-8 bytes in pieces: a long result would cost twice its size
// as one text, and converting each value to a QString first is most of the
// time of printing it.
void printResult(Context &ctx, const store::sql::ResultSet &rows)
{
    QByteArray out;
    constexpr qsizetype kPiece = 64 * 1024;
    out.reserve(kPiece + 4096);
    auto write = [&ctx, &out] {
        if (QIODevice *device = ctx.out.device()) {
            ctx.out.flush();
            device->write(out);
        } else {
            ctx.out << QString::fromUtf8(out);
        }
        out.truncate(0);   // keeps the room for the next piece
    };
    for (int c = 0; c < rows.columnCount(); ++c) {
        if (c)
            out.append('\t');
        appendEscaped(out, rows.column(c).name);
    }
    out.append('\n');
    for (int r = 0; r < rows.rowCount(); ++r) {
        for (int c = 0; c < rows.columnCount(); ++c) {
            if (c)
                out.append('\t');
            if (rows.column(c).type == store::sql::ColumnType::Integer) {
                char digits[16];
                const auto written = std::to_chars(digits, digits + sizeof digits, rows.integer(r, c));
                out.append(digits, written.ptr - digits);
            } else
                appendEscaped(out, rows.textView(r, c));
        }
        out.append('\n');
        if (out.size() >= kPiece)
            write();
    }
    write();
}

// The shared data objects of one command, with the table opened up front;
// closed (header written) when the command is done.
class Session {
public:
    explicit Session(Context &ctx)
    {
        store::TableCallbacks callbacks;
        callbacks.message = [&ctx](const QString &text) { ctx.err << "etibarix-cli: " << text << Qt::endl; };
        m_data.table().setCallbacks(std::move(callbacks));
        OpenTable(m_data.table());
    }
    ~Session()
    {
        try {
            m_data.table().close();
        } catch (const std::exception &) {
            // Only reached when the command already failed; its error is the one reported.
        }
    }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    void finish() { m_data.table().close(); }
    records::RecordDatabase &data() { return m_data; }

private:
    records::RecordDatabase m_data;
};

int runSql(Context &ctx, const QStringList &args)
{
    if (args.size() != 1)
        return usageError(ctx, QStringLiteral("sql: give the statement as one argument (quote it)"));
    const auto statement = tableText(ctx, QStringLiteral("sql"), args.first());
    if (!statement)
        return Usage;
    Session session(ctx);
    store::Query &query = session.data().commandQuery();
    query.close();
    query.setSql(*statement);
    if (store::Query::isSelectText(*statement)) {
        query.open();
        printResult(ctx, query.result());
        query.close();
    } else {
        query.execSql();
    }
    session.finish();
    return Ok;
}

int runList(Context &ctx, const QStringList &arguments)
{
    Args args(arguments);
    const ListOptions options = ListOptions::take(args);
    const bool statementOnly = args.flag(QStringLiteral("--statement"));
    if (args.hasError())
        return usageError(ctx, QStringLiteral("list: ") + args.error());
    if (!args.rest().isEmpty())
        return usageError(ctx, QStringLiteral("list: unexpected argument: ") + args.rest().first());

    records::ListState state;
    if (!options.toState(ctx, QStringLiteral("list"), state))
        return Usage;

    if (statementOnly) {
        ctx.out << base::fromCp1252(records::ListStatement(state)) << '\n';
        return Ok;
    }
    Session session(ctx);
    records::RecordList list(session.data().listQuery());
    list.state() = state;
    list.RefreshRecordList();
    printResult(ctx, list.listQuery().result());
    list.listQuery().close();
    session.finish();
    return Ok;
}

int runAdd(Context &ctx, const QStringList &arguments)
{
    Args args(arguments);
    const auto [cb, t1, t2, qty] = FieldOptions::take(args);
    const auto flag = args.take(QStringLiteral("--flag"));
    if (args.hasError())
        return usageError(ctx, QStringLiteral("add: ") + args.error());
    if (!args.rest().isEmpty())
        return usageError(ctx, QStringLiteral("add: unexpected argument: ") + args.rest().first());
    if (!cb)
        return usageError(ctx, QStringLiteral("add: --cb is required"));

    records::RecordEntry entry;
    const auto cbBytes = tableText(ctx, QStringLiteral("--cb"), *cb);
    if (!cbBytes)
        return Usage;
    entry.cb = records::ToCapitals(*cbBytes);
    if (entry.cb.trimmed().isEmpty())
        return usageError(ctx, QStringLiteral("add: Entry not correct (the barcode is empty)"));
    if (t1) {
        const auto bytes = tableText(ctx, QStringLiteral("--t1"), *t1);
        if (!bytes)
            return Usage;
        entry.lib1 = *bytes;
    }
    if (t2) {
        const auto bytes = tableText(ctx, QStringLiteral("--t2"), *t2);
        if (!bytes)
            return Usage;
        entry.lib2 = *bytes;
    }
    // Refusals speak the program's language.
    ChooseTextLanguage(ctx, std::nullopt, QStringLiteral("add"));
    const struct {
        const QByteArray &text;
        qsizetype width;
        i18n::Text label;
    } widths[] = {{entry.cb, records::BarcodeWidth, i18n::Text::Barcode},
        {entry.lib1, records::TextWidth, i18n::Text::Text1}, {entry.lib2, records::TextWidth, i18n::Text::Text2}};
    for (const auto &w : widths)
        if (w.text.size() > w.width)
            return usageError(ctx, QStringLiteral("add: ")
                    + i18n::LangString(i18n::Text::TextTooLong).arg(i18n::LangString(w.label).trimmed()).arg(w.width));
    entry.quantite = 1;
    if (qty) {
        std::int32_t q = -1;
        const auto bytes = tableText(ctx, QStringLiteral("--qty"), *qty);
        if (!bytes)
            return Usage;
        if (!records::IsInteger(*bytes, &q) || q < 0 || q > records::QuantityLimit)
            return usageError(ctx, QStringLiteral("add: ")
                    + i18n::LangString(i18n::Text::QuantityNotInRange)
                          .arg(i18n::LangString(i18n::Text::Quantity))
                          .arg(records::QuantityLimit));
        entry.quantite = q;
    }
    if (flag && *flag != u"yes" && *flag != u"no")
        return usageError(ctx, QStringLiteral("add: --flag takes yes or no"));
    entry.topp = (flag && *flag == u"no") ? "N" : "O";
    try {
        records::RefuseUnprintableBarcode(entry.cb);
        records::RefuseDoubleQuote(entry);
    } catch (const base::Error &e) {
        return usageError(ctx, QStringLiteral("add: ") + e.text());
    }

    Session session(ctx);
    store::Query &query = session.data().commandQuery();
    std::int32_t num = 0;
    {
        const records::NumberingLock numbering(query);
        num = records::NextRecordNum(query);
        // Unlike the dialog's silent command runner, a failing insert is
        // reported: the number printed must be that of a record that exists.
        query.close();
        query.setSql(records::InsertStatement(num, entry));
        query.execSql();
    }
    session.finish();
    ctx.out << num << '\n';
    return Ok;
}

const CommandRegistrar sqlCommand({QStringLiteral("sql"), QStringLiteral("STATEMENT  run one statement; a select prints tab-separated rows"), runSql});
const CommandRegistrar listCommand({QStringLiteral("list"),
    QStringLiteral("[--cb T] [--t1 T] [--t2 T] [--top flagged|unflagged|all] "
                   "[--sort num|cb|lib1|lib2|quantite|topp] [--desc] [--statement]  the record list"),
    runList});
const CommandRegistrar addCommand({QStringLiteral("add"),
    QStringLiteral("--cb T [--t1 T] [--t2 T] [--qty T] [--flag yes|no]  create a record, print its number"), runAdd});

} // namespace
} // namespace etibarix::cli
