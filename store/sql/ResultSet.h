#pragma once
// The in-memory rows of a select: a copy that does not follow later changes
// of the table. Texts live in one pool so that a result of 100,000 rows costs
// a handful of allocations, not one per value.

#include "base/LargePages.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <variant>
#include <vector>

namespace etibarix::store::sql {

enum class ColumnType { Integer, Text };

struct Column {
    QByteArray name;
    ColumnType type = ColumnType::Text;
};

using Value = std::variant<QByteArray, std::int32_t>;

class ResultSet {
public:
    ResultSet() = default;
    explicit ResultSet(std::vector<Column> columns);

    int columnCount() const { return static_cast<int>(m_columns.size()); }
    const Column &column(int index) const { return m_columns[static_cast<std::size_t>(index)]; }
    const std::vector<Column> &columns() const { return m_columns; }
    // Without regard to ASCII letter case; -1 when absent.
    int columnIndex(QByteArrayView name) const;
    int rowCount() const { return m_rows; }

    // Room for rows and text bytes, so that filling does not reallocate.
    void reserve(int rows, qsizetype textBytes);
    qsizetype textBytes() const { return qsizetype(m_pool.size()); }

    // Filling, one row at a time, the values in column order.
    void addInteger(std::int32_t value);
    void addText(QByteArrayView value);

    // Reading. text() gives an integer column's decimal text; integer() reads
    // a text column as an N field would (0 when it is no number).
    std::int32_t integer(int row, int column) const;
    QByteArray text(int row, int column) const;
    // Text columns only: a view into the pool, valid until the next change.
    QByteArrayView textView(int row, int column) const;
    Value value(int row, int column) const;

    // Changes of the copy only.
    void setValue(int row, int column, const Value &value);
    void removeRow(int row);
    // Rearranges the rows: row i of the result becomes old row order[i].
    void permute(const std::vector<int> &order);

private:
    struct Cell {
        std::int32_t number = 0;
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    const Cell &cell(int row, int column) const
    {
        return m_cells[static_cast<std::size_t>(row) * m_columns.size() + static_cast<std::size_t>(column)];
    }
    Cell storeText(QByteArrayView text);

    std::vector<Column> m_columns;
    std::vector<Cell, base::LargePageAllocator<Cell>> m_cells;
    std::vector<char, base::LargePageAllocator<char>> m_pool;
    int m_rows = 0;
    std::size_t m_filled = 0;   // cells of the row being added
};

} // namespace etibarix::store::sql
