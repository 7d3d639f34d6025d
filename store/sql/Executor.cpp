#include "store/sql/Executor.h"

#include "base/Cp1252.h"
#include "base/Error.h"
#include "store/sql/Compare.h"
#include "store/sql/LikePattern.h"
#include "store/sql/RowSorter.h"

#include <utility>

namespace etibarix::store::sql {
namespace {

bool isIntegerField(const Table &table, int field)
{
    return table.fields()[static_cast<std::size_t>(field)].type == 'N';
}

int bind(const Table &table, const Name &name)
{
    const int f = table.fieldIndex(name.text);
    if (f < 0)
        throw base::Error(QStringLiteral("Unknown column: %1").arg(base::fromCp1252(name.text)));
    return f;
}

// One predicate bound to its field.
class Test {
public:
    Test(const Table &table, const Predicate &p)
        : m_field(bind(table, p.column))
        , m_fieldIsInteger(isIntegerField(table, m_field))
        , m_length(p.length)
        , m_op(p.op)
        , m_literalIsInteger(std::holds_alternative<std::int32_t>(p.value))
    {
        if (m_literalIsInteger)
            m_number = std::get<std::int32_t>(p.value);
        else
            m_text = std::get<QByteArray>(p.value);
        if (m_op == Predicate::Op::Like)
            m_like.emplace(m_text);
    }

    bool holds(const Table &t) const
    {
        if (m_length) {
            const auto len = static_cast<std::int64_t>(m_fieldIsInteger ? QByteArray::number(t.integer(m_field)).size()
                                                                        : t.text(m_field).size());
            return m_op == Predicate::Op::Greater ? len > m_number : len == m_number;
        }
        switch (m_op) {
        case Predicate::Op::Like:
            if (m_fieldIsInteger)
                return m_like->matches(QByteArray::number(t.integer(m_field)));
            return m_like->matches(t.text(m_field));
        case Predicate::Op::Equal:
            if (m_literalIsInteger)
                return integerValue(t) == m_number;
            if (m_fieldIsInteger)
                return QByteArray::number(t.integer(m_field)) == m_text;
            return t.text(m_field) == QByteArrayView(m_text);
        case Predicate::Op::Greater:
            return integerValue(t) > m_number;
        }
        return false;
    }

private:
    std::int32_t integerValue(const Table &t) const
    {
        return m_fieldIsInteger ? t.integer(m_field) : textToInteger(t.text(m_field));
    }

    int m_field;
    bool m_fieldIsInteger;
    bool m_length;
    Predicate::Op m_op;
    bool m_literalIsInteger;
    std::int32_t m_number = 0;
    QByteArray m_text;
    std::optional<LikePattern> m_like;
};

class Filter {
public:
    Filter(const Table &table, const Condition &condition)
    {
        m_tests.reserve(condition.size());
        for (const Predicate &p : condition)
            m_tests.emplace_back(table, p);
    }
    bool holds(const Table &t) const
    {
        for (const Test &test : m_tests)
            if (!test.holds(t))
                return false;
        return true;
    }

private:
    std::vector<Test> m_tests;
};

std::vector<FieldAssignment> assignments(const Table &table, const std::vector<Name> &columns,
    const std::vector<Literal> &values)
{
    std::vector<FieldAssignment> out;
    out.reserve(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        FieldAssignment a;
        a.field = bind(table, columns[i]);
        if (std::holds_alternative<std::int32_t>(values[i]))
            a.value = std::get<std::int32_t>(values[i]);
        else
            a.value = std::get<QByteArray>(values[i]);
        out.push_back(std::move(a));
    }
    return out;
}

// The value an N field reads back after v was stored into it: a number too
// wide for the field is stored as asterisks, which read as 0.
std::int32_t storedInteger(const FieldDef &field, std::int32_t v)
{
    return QByteArray::number(v).size() > field.width ? 0 : v;
}

// Beyond this a first statement's rows grow as they come.
constexpr qsizetype kMostReservedBytes = qsizetype(128) * 1024 * 1024;

} // namespace

ResultSet Executor::select(const SelectStatement &statement, Table &table)
{
    const Filter filter(table, statement.where);
    std::vector<SortSpec> keys;
    for (const SortKey &k : statement.orderBy)
        keys.push_back(SortSpec{bind(table, k.column), k.descending});

    const auto &fields = table.fields();
    std::vector<Column> columns;
    std::vector<bool> integer;
    for (const FieldDef &f : fields) {
        columns.push_back(Column{f.name.toLower(), f.type == 'N' ? ColumnType::Integer : ColumnType::Text});
        integer.push_back(f.type == 'N');
    }
    ResultSet rows(std::move(columns));
    const int count = static_cast<int>(fields.size());
    auto take = [&] {
        if (!filter.holds(table))
            return;
        for (int f = 0; f < count; ++f) {
            if (integer[static_cast<std::size_t>(f)])
                rows.addInteger(table.integer(f));
            else
                rows.addText(table.text(f));
        }
    };
    // A LIKE on the indexed field with a fixed beginning: the index names
    // every record that can match, visited in record order as the walk
    // would, so the rows and their order (ties of the sort included) are
    // the walk's.
    std::optional<std::vector<std::uint32_t>> candidates;
    for (const Predicate &p : statement.where) {
        if (p.op != Predicate::Op::Like || p.length || !std::holds_alternative<QByteArray>(p.value))
            continue;
        const QByteArray &pattern = std::get<QByteArray>(p.value);
        const qsizetype fixed = [&] {
            qsizetype i = 0;
            while (i < pattern.size() && pattern[i] != '%' && pattern[i] != '_')
                ++i;
            return i;
        }();
        const int field = table.fieldIndex(p.column.text);
        if (fixed > 0 && field >= 0 && !integer[static_cast<std::size_t>(field)]
            && (candidates = table.recordsWithPrefix(field, QByteArrayView(pattern).first(fixed))))
            break;
    }
    // The last statement's size is the best guess. A first one reserves room
    // for every row it can give: untouched room costs address space only,
    // and the rows are not copied (into fresh pages) as they grow.
    if (m_lastRows > 0) {
        rows.reserve(m_lastRows, m_lastTextBytes);
    } else {
        qsizetype textWidth = 0;
        for (const FieldDef &f : fields)
            textWidth += f.type == 'N' ? 0 : f.width;
        const qsizetype most = candidates ? qsizetype(candidates->size()) : qsizetype(table.recordCount());
        if (most * (textWidth + qsizetype(sizeof(std::uint32_t)) * 3 * count) <= kMostReservedBytes)
            rows.reserve(static_cast<int>(most), most * textWidth);
    }
    if (candidates) {
        table.visitRecords(*candidates, take);
    } else {
        for (table.first(); !table.eof(); table.next())
            take();
    }
    m_lastRows = rows.rowCount();
    m_lastTextBytes = rows.textBytes();
    RowSorter::sort(rows, keys);
    return rows;
}

ResultSet Executor::selectMax(const SelectMaxStatement &statement, Table &table)
{
    const int field = bind(table, statement.column);
    const bool integer = isIntegerField(table, field);
    ResultSet result({Column{statement.alias.text, integer ? ColumnType::Integer : ColumnType::Text}});
    if (!integer) {
        std::optional<QByteArray> best;
        for (table.first(); !table.eof(); table.next()) {
            const QByteArrayView v = table.text(field);
            if (!best || compareText(v, *best) > 0)
                best = v.toByteArray();
        }
        if (best)
            result.addText(*best);
        return result;
    }

    // What is remembered holds as long as the table only grew at its end
    // (here or in another program): only the records added since are read.
    const Table::Mark mark = table.mark();
    std::int64_t from = 1;
    std::optional<std::int32_t> best;
    if (m_max && m_max->table == &table && m_max->field == field) {
        from = std::max<std::int64_t>(table.appendedSince(m_max->mark), 1);
        if (from > 1)
            best = m_max->max;
    }
    if (from > 1 && from > mark.records) {
        m_max->mark = mark;   // nothing new since
    } else {
        for (table.firstFrom(from); !table.eof(); table.next()) {
            const std::int32_t v = table.integer(field);
            if (!best || v > *best)
                best = v;
        }
        m_max = MaxCache{&table, field, mark, best};
    }
    if (m_max->max)
        result.addInteger(*m_max->max);
    return result;
}

void Executor::insert(const InsertStatement &statement, Table &table)
{
    const std::vector<FieldAssignment> values = assignments(table, statement.columns, statement.values);
    // Forgotten while the append runs: should it fail half-way, the next
    // question walks the table.
    std::optional<MaxCache> cached = std::exchange(m_max, std::nullopt);
    const std::int64_t before = table.recordCount();
    table.append(values);
    // Every change the table makes or notices raises its version by one, so
    // exactly one step since the maximum was remembered is this append alone.
    if (!cached || cached->table != &table || table.version() != cached->mark.version + 1
        || cached->mark.records != before || table.recordCount() != before + 1)
        return;
    std::int32_t stored = 0;   // a field not given is stored as 0
    for (const FieldAssignment &a : values) {
        if (a.field != cached->field)
            continue;
        if (!std::holds_alternative<std::int32_t>(a.value))
            return;   // a text converted by the table: walk again next time
        stored = storedInteger(table.fields()[static_cast<std::size_t>(a.field)], std::get<std::int32_t>(a.value));
    }
    cached->max = cached->max ? std::max(*cached->max, stored) : stored;
    cached->mark.version += 1;
    cached->mark.records += 1;
    m_max = std::move(cached);
}

void Executor::update(const UpdateStatement &statement, Table &table)
{
    const Filter filter(table, statement.where);
    std::vector<Name> columns;
    std::vector<Literal> values;
    for (const Assignment &a : statement.assignments) {
        columns.push_back(a.column);
        values.push_back(a.value);
    }
    const std::vector<FieldAssignment> changes = assignments(table, columns, values);
    for (table.first(); !table.eof(); table.next())
        if (filter.holds(table))
            table.updateCurrent(changes);
}

void Executor::remove(const DeleteStatement &statement, Table &table)
{
    const Filter filter(table, statement.where);
    table.first();
    while (!table.eof()) {
        if (filter.holds(table))
            table.deleteCurrent();   // moves on to the next live record itself
        else
            table.next();
    }
}

} // namespace etibarix::store::sql
