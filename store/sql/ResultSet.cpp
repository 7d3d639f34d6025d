#include "store/sql/ResultSet.h"

#include "base/Error.h"
#include "store/sql/Compare.h"

#include <algorithm>

namespace etibarix::store::sql {

ResultSet::ResultSet(std::vector<Column> columns) : m_columns(std::move(columns)) {}

int ResultSet::columnIndex(QByteArrayView name) const
{
    for (std::size_t i = 0; i < m_columns.size(); ++i)
        if (QByteArrayView(m_columns[i].name).compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

void ResultSet::reserve(int rows, qsizetype textBytes)
{
    m_cells.reserve(static_cast<std::size_t>(rows) * m_columns.size());
    m_pool.reserve(static_cast<std::size_t>(textBytes));
}

ResultSet::Cell ResultSet::storeText(QByteArrayView text)
{
    if (m_pool.size() + std::size_t(text.size()) > 0xFFFFFFFFULL)
        throw base::Error(QStringLiteral("Result too large"));
    Cell c;
    c.offset = static_cast<std::uint32_t>(m_pool.size());
    c.length = static_cast<std::uint32_t>(text.size());
    m_pool.insert(m_pool.end(), text.begin(), text.end());
    return c;
}

void ResultSet::addInteger(std::int32_t value)
{
    Cell c;
    c.number = value;
    m_cells.push_back(c);
    if (++m_filled == m_columns.size()) {
        m_filled = 0;
        ++m_rows;
    }
}

void ResultSet::addText(QByteArrayView value)
{
    m_cells.push_back(storeText(value));
    if (++m_filled == m_columns.size()) {
        m_filled = 0;
        ++m_rows;
    }
}

std::int32_t ResultSet::integer(int row, int column) const
{
    if (m_columns[static_cast<std::size_t>(column)].type == ColumnType::Integer)
        return cell(row, column).number;
    return textToInteger(textView(row, column));
}

QByteArrayView ResultSet::textView(int row, int column) const
{
    const Cell &c = cell(row, column);
    return QByteArrayView(m_pool.data() + c.offset, c.length);
}

QByteArray ResultSet::text(int row, int column) const
{
    if (m_columns[static_cast<std::size_t>(column)].type == ColumnType::Integer)
        return QByteArray::number(cell(row, column).number);
    return textView(row, column).toByteArray();
}

Value ResultSet::value(int row, int column) const
{
    if (m_columns[static_cast<std::size_t>(column)].type == ColumnType::Integer)
        return cell(row, column).number;
    return textView(row, column).toByteArray();
}

void ResultSet::setValue(int row, int column, const Value &value)
{
    Cell &c = m_cells[static_cast<std::size_t>(row) * m_columns.size() + static_cast<std::size_t>(column)];
    if (m_columns[static_cast<std::size_t>(column)].type == ColumnType::Integer) {
        c.number = std::holds_alternative<std::int32_t>(value) ? std::get<std::int32_t>(value)
                                                               : textToInteger(std::get<QByteArray>(value));
    } else {
        const QByteArray text = std::holds_alternative<QByteArray>(value)
            ? std::get<QByteArray>(value)
            : QByteArray::number(std::get<std::int32_t>(value));
        c = storeText(text);
    }
}

void ResultSet::removeRow(int row)
{
    const auto width = static_cast<std::ptrdiff_t>(m_columns.size());
    const auto first = m_cells.begin() + static_cast<std::ptrdiff_t>(row) * width;
    m_cells.erase(first, first + width);
    --m_rows;
}

void ResultSet::permute(const std::vector<int> &order)
{
    const std::size_t width = m_columns.size();
    const std::size_t rows = static_cast<std::size_t>(m_rows);
    // A rearrangement of every row is done in place, cycle by cycle: a copy
    // of a large result costs as much fresh memory again.
    std::vector<bool> done(rows, false);
    bool inPlace = order.size() == rows;
    for (std::size_t i = 0; inPlace && i < rows; ++i) {
        const auto from = static_cast<std::size_t>(order[i]);
        inPlace = order[i] >= 0 && from < rows && !done[from];
        if (inPlace)
            done[from] = true;
    }
    if (inPlace) {
        std::fill(done.begin(), done.end(), false);
        std::vector<Cell> held(width);
        auto row = [this, width](std::size_t r) { return m_cells.begin() + static_cast<std::ptrdiff_t>(r * width); };
        for (std::size_t start = 0; start < rows; ++start) {
            if (done[start] || static_cast<std::size_t>(order[start]) == start)
                continue;
            std::copy(row(start), row(start) + static_cast<std::ptrdiff_t>(width), held.begin());
            std::size_t to = start;
            for (;;) {
                done[to] = true;
                const auto from = static_cast<std::size_t>(order[to]);
                if (from == start) {
                    std::copy(held.begin(), held.end(), row(to));
                    break;
                }
                std::copy(row(from), row(from) + static_cast<std::ptrdiff_t>(width), row(to));
                to = from;
            }
        }
        return;
    }
    decltype(m_cells) cells;
    cells.reserve(order.size() * width);
    for (const int from : order) {
        const auto first = m_cells.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(from) * width);
        cells.insert(cells.end(), first, first + static_cast<std::ptrdiff_t>(width));
    }
    m_cells = std::move(cells);
    m_rows = static_cast<int>(order.size());
}

} // namespace etibarix::store::sql
