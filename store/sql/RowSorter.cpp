#include "store/sql/RowSorter.h"

#include "store/sql/Compare.h"

#include <utility>

namespace etibarix::store::sql {
namespace {

// One key's values, read once so that comparisons do not go through the
// result's column dispatch.
struct IntegerKey {
    std::vector<std::int32_t> values;
    int sign = 1;
    using Pivot = std::int32_t;
    Pivot pivot(int row) const { return values[static_cast<std::size_t>(row)]; }
    int compare(int row, Pivot p) const { return sign * compareInteger(values[static_cast<std::size_t>(row)], p); }
};

struct TextKey {
    std::vector<QByteArrayView> values;
    int sign = 1;
    using Pivot = QByteArrayView;
    Pivot pivot(int row) const { return values[static_cast<std::size_t>(row)]; }
    int compare(int row, Pivot p) const { return sign * compareText(values[static_cast<std::size_t>(row)], p); }
};

// Positions L..R of a (inclusive). The recursion on the left part is kept on
// an explicit stack: a hostile arrangement of the data could otherwise make
// it as deep as the number of rows. The parts are disjoint, so the order in
// which they are done does not change the outcome.
template<class Key>
void quickSort(std::vector<int> &a, int left, int right, const Key &key)
{
    std::vector<std::pair<int, int>> pending;
    pending.emplace_back(left, right);
    while (!pending.empty()) {
        auto [l, r] = pending.back();
        pending.pop_back();
        int i = 0;
        do {
            i = l;
            int j = r;
            const typename Key::Pivot pivot = key.pivot(a[static_cast<std::size_t>((l + r) / 2)]);
            do {
                while (key.compare(a[static_cast<std::size_t>(i)], pivot) < 0)
                    ++i;
                while (key.compare(a[static_cast<std::size_t>(j)], pivot) > 0)
                    --j;
                if (i <= j) {
                    std::swap(a[static_cast<std::size_t>(i)], a[static_cast<std::size_t>(j)]);
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (l < j)
                pending.emplace_back(l, j);
            l = i;
        } while (i < r);
    }
}

// Calls f with the key of one sort column, its values read once.
template<class F>
void withKey(const ResultSet &rows, const SortSpec &spec, F &&f)
{
    const int sign = spec.descending ? -1 : 1;
    const auto n = static_cast<std::size_t>(rows.rowCount());
    if (rows.column(spec.column).type == ColumnType::Integer) {
        IntegerKey key;
        key.sign = sign;
        key.values.resize(n);
        for (std::size_t r = 0; r < n; ++r)
            key.values[r] = rows.integer(static_cast<int>(r), spec.column);
        f(key);
    } else {
        TextKey key;
        key.sign = sign;
        key.values.resize(n);
        for (std::size_t r = 0; r < n; ++r)
            key.values[r] = rows.textView(static_cast<int>(r), spec.column);
        f(key);
    }
}

// The earlier keys of a row turned into texts and joined, as the run test
// compares them. With a single earlier key, equal texts mean equal values, so
// the values are compared directly.
bool sameEarlierKeys(const ResultSet &rows, const std::vector<SortSpec> &keys, std::size_t k, int a, int b)
{
    if (k == 1) {
        const int c = keys[0].column;
        if (rows.column(c).type == ColumnType::Integer)
            return rows.integer(a, c) == rows.integer(b, c);
        return rows.textView(a, c) == rows.textView(b, c);
    }
    QByteArray ja, jb;
    for (std::size_t i = 0; i < k; ++i) {
        ja += rows.text(a, keys[i].column);
        jb += rows.text(b, keys[i].column);
    }
    return ja == jb;
}

} // namespace

std::vector<int> RowSorter::order(const ResultSet &rows, const std::vector<SortSpec> &keys)
{
    std::vector<int> a(static_cast<std::size_t>(rows.rowCount()));
    for (int i = 0; i < rows.rowCount(); ++i)
        a[static_cast<std::size_t>(i)] = i;
    const int n = rows.rowCount();
    if (keys.empty() || n < 2)
        return a;
    withKey(rows, keys[0], [&](const auto &key) { quickSort(a, 0, n - 1, key); });
    for (std::size_t k = 1; k < keys.size(); ++k) {
        withKey(rows, keys[k], [&](const auto &key) {
            int start = 0;
            while (start < n) {
                int end = start;
                while (end + 1 < n
                       && sameEarlierKeys(rows, keys, k, a[static_cast<std::size_t>(start)],
                           a[static_cast<std::size_t>(end + 1)]))
                    ++end;
                if (end > start)
                    quickSort(a, start, end, key);
                start = end + 1;
            }
        });
    }
    return a;
}

void RowSorter::sort(ResultSet &rows, const std::vector<SortSpec> &keys)
{
    if (keys.empty() || rows.rowCount() < 2)
        return;
    rows.permute(order(rows, keys));
}

} // namespace etibarix::store::sql
