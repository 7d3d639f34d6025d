#include "store/Query.h"

#include "base/Cp1252.h"
#include "base/Error.h"
#include "store/sql/Executor.h"
#include "store/sql/Parser.h"

#include <cctype>

namespace etibarix::store {

Query::Query() : m_executor(std::make_unique<sql::Executor>()) {}

Query::~Query() = default;

void Query::addDataSet(const QByteArray &alias, Table &table)
{
    m_dataSets.push_back(DataSet{alias, &table});
}

QString Query::notOpenedText(const QByteArray &alias)
{
    return QStringLiteral("DataSet %1 is not opened !").arg(base::fromCp1252(alias));
}

void Query::setSql(const QByteArray &text)
{
    close();
    m_sql = text;
}

Table &Query::tableFor(const QByteArray &alias)
{
    for (const DataSet &d : m_dataSets) {
        if (QByteArrayView(d.alias).compare(alias, Qt::CaseInsensitive) != 0)
            continue;
        if (!d.table->isOpen()) {
            try {
                d.table->open();
            } catch (const base::Error &) {
                throw base::Error(notOpenedText(d.alias));
            }
        }
        return *d.table;
    }
    throw base::Error(QStringLiteral("Unknown table: %1").arg(base::fromCp1252(alias)));
}

const sql::Statement &Query::parsed()
{
    // The same text again (the next number asked before every insert) is
    // not parsed again.
    if (!m_parsed || m_parsedText != m_sql) {
        m_parsed.reset();
        m_parsed = sql::Parser::parse(m_sql);
        m_parsedText = m_sql;
    }
    return *m_parsed;
}

void Query::open()
{
    close();
    const sql::Statement &statement = parsed();
    if (!sql::isSelect(statement))
        throw base::Error(
            QStringLiteral("You must use UPDATE, DELETE, INSERT or CREATE TABLE only with ExecSQL method !"));
    if (const auto *s = std::get_if<sql::SelectStatement>(&statement))
        m_result = m_executor->select(*s, tableFor(s->table.text));
    else if (const auto *m = std::get_if<sql::SelectMaxStatement>(&statement))
        m_result = m_executor->selectMax(*m, tableFor(m->table.text));
    m_open = true;
    first();
}

void Query::execSql()
{
    close();
    const sql::Statement &statement = parsed();
    if (sql::isSelect(statement))
        throw base::Error(QStringLiteral("You must use SELECT only with Open method or Active property!"));
    if (const auto *i = std::get_if<sql::InsertStatement>(&statement))
        m_executor->insert(*i, tableFor(i->table.text));
    else if (const auto *u = std::get_if<sql::UpdateStatement>(&statement))
        m_executor->update(*u, tableFor(u->table.text));
    else if (const auto *d = std::get_if<sql::DeleteStatement>(&statement))
        m_executor->remove(*d, tableFor(d->table.text));
}

void Query::execInsert(const sql::InsertStatement &statement)
{
    close();
    m_executor->insert(statement, tableFor(statement.table.text));
}

void Query::close()
{
    m_open = false;
    m_result = sql::ResultSet();
    m_row = -1;
    m_eof = true;
}

void Query::first()
{
    m_row = m_result.rowCount() > 0 ? 0 : -1;
    m_eof = m_row < 0;
}

void Query::next()
{
    if (m_row + 1 < m_result.rowCount())
        ++m_row;
    else
        m_eof = true;
}

void Query::setRecNo(int recNo)
{
    if (recNo >= 1 && recNo <= m_result.rowCount()) {
        m_row = recNo - 1;
        m_eof = false;
    }
}

int Query::columnOf(QByteArrayView column) const
{
    const int c = m_result.columnIndex(column);
    if (c < 0)
        throw base::Error(QStringLiteral("Unknown column: %1").arg(base::fromCp1252(column)));
    return c;
}

QByteArray Query::text(QByteArrayView column) const
{
    const int c = columnOf(column);
    return m_row < 0 ? QByteArray() : m_result.text(m_row, c);
}

std::int32_t Query::integer(QByteArrayView column) const
{
    const int c = columnOf(column);
    return m_row < 0 ? 0 : m_result.integer(m_row, c);
}

sql::Value Query::value(QByteArrayView column) const
{
    const int c = columnOf(column);
    if (m_row < 0)
        return m_result.column(c).type == sql::ColumnType::Integer ? sql::Value(std::int32_t(0)) : sql::Value(QByteArray());
    return m_result.value(m_row, c);
}

void Query::setValue(QByteArrayView column, const sql::Value &value)
{
    const int c = columnOf(column);
    if (m_row >= 0)
        m_result.setValue(m_row, c, value);
}

void Query::deleteCurrentRow()
{
    if (m_row < 0)
        return;
    m_result.removeRow(m_row);
    if (m_row >= m_result.rowCount())
        m_row = m_result.rowCount() - 1;
    m_eof = m_row < 0;
}

bool Query::isSelectText(QByteArrayView text)
{
    const QByteArrayView t = text.trimmed();
    return t.size() >= 6 && t.first(6).compare("select", Qt::CaseInsensitive) == 0
        && (t.size() == 6 || !(std::isalnum(static_cast<unsigned char>(t[6])) || t[6] == '_'));
}

} // namespace etibarix::store
