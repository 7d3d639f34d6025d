#pragma once
// A query component: one statement of the dialect (store/sql/Parser.h) run
// against the tables it knows by alias. A select is opened and gives an
// in-memory copy of its rows with a current row; an insert, update or delete
// is executed as a command and gives nothing.
//
// Every run starts from a fresh parse. A statement that finds its table
// closed opens it first, which creates the table when its files are missing.

#include "store/Table.h"
#include "store/sql/Ast.h"
#include "store/sql/ResultSet.h"

#include <QByteArray>
#include <QByteArrayView>

#include <memory>
#include <optional>
#include <vector>

namespace etibarix::store {

namespace sql {
class Executor;
}

class Query {
public:
    Query();
    ~Query();
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;

    // DataSets: the table known under alias in statements (ASCII letter case
    // does not matter).
    void addDataSet(const QByteArray &alias, Table &table);
    // What a statement on the table known as alias reports when that table
    // cannot be opened.
    static QString notOpenedText(const QByteArray &alias);

    // The statement text (Windows-1252). Replacing it closes the result.
    void setSql(const QByteArray &text);
    const QByteArray &sql() const { return m_sql; }

    // Runs a select and keeps its rows, the first one current.
    void open();
    // Runs an insert, update or delete.
    void execSql();
    // Runs an insert already parsed: a caller with many statements of one
    // shape parses the text once and puts each one's values into it.
    void execInsert(const sql::InsertStatement &statement);
    void close();
    bool isOpen() const { return m_open; }

    // The result (empty when closed).
    const sql::ResultSet &result() const { return m_result; }
    int recordCount() const { return m_result.rowCount(); }
    // 1-based position of the current row; 0 when there is none.
    int recNo() const { return m_row < 0 ? 0 : m_row + 1; }
    void setRecNo(int recNo);
    bool eof() const { return m_eof; }
    void first();
    void next();

    // The current row's value of a column (named without regard to letter
    // case). No current row: empty text, 0. Unknown column: base::Error.
    QByteArray text(QByteArrayView column) const;
    std::int32_t integer(QByteArrayView column) const;
    sql::Value value(QByteArrayView column) const;

    // Changes of the copy only; the table is not touched.
    void setValue(QByteArrayView column, const sql::Value &value);
    void deleteCurrentRow();

    // The table known under alias, opened first when it is closed (as a
    // statement would); "DataSet <alias> is not opened !" when that fails.
    Table &dataSet(const QByteArray &alias) { return tableFor(alias); }

    // Whether the text is a select (its first word), to choose between
    // open() and execSql() for a statement typed by the user.
    static bool isSelectText(QByteArrayView text);

private:
    struct DataSet {
        QByteArray alias;
        Table *table = nullptr;
    };
    Table &tableFor(const QByteArray &alias);
    const sql::Statement &parsed();
    int columnOf(QByteArrayView column) const;

    std::vector<DataSet> m_dataSets;
    QByteArray m_sql;
    bool m_open = false;
    sql::ResultSet m_result;
    int m_row = -1;
    bool m_eof = true;
    std::unique_ptr<sql::Executor> m_executor;
    QByteArray m_parsedText;
    std::optional<sql::Statement> m_parsed;
};

} // namespace etibarix::store
