// ORDER BY must leave ties exactly where the program's quicksort leaves them
// (Hoare partition around the value at the middle position, recursion on
// both halves; not stable). The reference below is a second, independent
// writing of that quicksort (1-based positions, recursion, joined texts for
// the runs), and both are run on data full of duplicates.

#include "store/sql/RowSorter.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <string>

using namespace etibarix::store::sql;

namespace {

struct Row {
    int id;
    std::vector<std::string> texts;   // per column, the value as text
    std::vector<long> numbers;        // per column, the value as integer
};

struct Key {
    int column;
    bool integer;
    bool desc;
};

int cmpKey(const Row &r, const Row &pivot, const Key &k)
{
    int c = 0;
    if (k.integer)
        c = r.numbers[k.column] < pivot.numbers[k.column] ? -1 : (r.numbers[k.column] > pivot.numbers[k.column] ? 1 : 0);
    else {
        // std::string compares char_traits<char>, which is unsigned-byte order.
        const int raw = r.texts[k.column].compare(pivot.texts[k.column]);
        c = raw < 0 ? -1 : (raw > 0 ? 1 : 0);
    }
    return k.desc ? -c : c;
}

// a[1..n]: pivot value from position (L+R) div 2, i and j walk towards each
// other and swap, then each side is sorted in turn.
void referenceQuickSort(std::vector<Row> &a, int L, int R, const Key &k)
{
    int i = 0;
    do {
        i = L;
        int j = R;
        const Row pivot = a[(L + R) / 2];
        do {
            while (cmpKey(a[i], pivot, k) < 0)
                i++;
            while (cmpKey(a[j], pivot, k) > 0)
                j--;
            if (i <= j) {
                std::swap(a[i], a[j]);
                i++;
                j--;
            }
        } while (i <= j);
        if (L < j)
            referenceQuickSort(a, L, j, k);
        L = i;
    } while (i < R);
}

std::vector<int> referenceOrder(std::vector<Row> rows, const std::vector<Key> &keys)
{
    std::vector<Row> a(1, Row{-1, {}, {}});
    a.insert(a.end(), rows.begin(), rows.end());
    const int n = static_cast<int>(rows.size());
    if (n > 1 && !keys.empty()) {
        referenceQuickSort(a, 1, n, keys[0]);
        for (std::size_t k = 1; k < keys.size(); ++k) {
            auto joined = [&](const Row &r) {
                std::string s;
                for (std::size_t e = 0; e < k; ++e)
                    s += r.texts[keys[e].column];
                return s;
            };
            int p = 1;
            while (p <= n) {
                int q = p;
                while (q < n && joined(a[q + 1]) == joined(a[p]))
                    q++;
                if (q > p)
                    referenceQuickSort(a, p, q, keys[k]);
                p = q + 1;
            }
        }
    }
    std::vector<int> ids;
    for (int i = 1; i <= n; ++i)
        ids.push_back(a[i].id);
    return ids;
}

// Columns: 0 num (int), 1 cb (text), 2 quantite (int), 3 topp (text), 4 lib1 (text).
std::vector<Row> makeRows(int n, quint32 seed)
{
    QRandomGenerator rng(seed);
    const char *flags[] = {"O", "N", "", "X"};
    const char *words[] = {"", "A", "AB", "ab", "B", "\xE9", "12", "1"};
    std::vector<Row> rows;
    for (int i = 0; i < n; ++i) {
        Row r;
        r.id = i;
        const long num = rng.bounded(50);
        const std::string cb = std::to_string(rng.bounded(30));
        const long qty = static_cast<long>(rng.bounded(7)) - 1;
        r.numbers = {num, 0, qty, 0, 0};
        r.texts = {std::to_string(num), cb, std::to_string(qty), flags[rng.bounded(4)], words[rng.bounded(8)]};
        rows.push_back(std::move(r));
    }
    return rows;
}

ResultSet toResult(const std::vector<Row> &rows)
{
    ResultSet rs({{"num", ColumnType::Integer}, {"cb", ColumnType::Text}, {"quantite", ColumnType::Integer},
        {"topp", ColumnType::Text}, {"lib1", ColumnType::Text}});
    for (const Row &r : rows) {
        rs.addInteger(static_cast<std::int32_t>(r.numbers[0]));
        rs.addText(QByteArrayView(r.texts[1].data(), static_cast<qsizetype>(r.texts[1].size())));
        rs.addInteger(static_cast<std::int32_t>(r.numbers[2]));
        rs.addText(QByteArrayView(r.texts[3].data(), static_cast<qsizetype>(r.texts[3].size())));
        rs.addText(QByteArrayView(r.texts[4].data(), static_cast<qsizetype>(r.texts[4].size())));
    }
    return rs;
}

} // namespace

TEST(RowSorter, TiesComeOutInTheQuicksortsOrder)
{
    // Keys 2,1,2,1: the procedure gives rows 3,1,0,2 where a stable sort
    // would give 1,3,0,2 (worked through by hand).
    ResultSet rs({{"k", ColumnType::Integer}, {"id", ColumnType::Integer}});
    for (int k : {2, 1, 2, 1}) {
        rs.addInteger(k);
        rs.addInteger(0);
    }
    EXPECT_EQ(RowSorter::order(rs, {{0, false}}), (std::vector<int>{3, 1, 0, 2}));
}

TEST(RowSorter, MatchesAnIndependentTranscriptionOnManyDuplicates)
{
    const std::vector<std::vector<Key>> keySets = {
        {{2, true, true}, {1, false, false}},    // quantite desc , cb
        {{3, false, false}, {1, false, false}},  // topp , cb
        {{3, false, true}, {1, false, false}},   // topp desc , cb
        {{1, false, false}},
        {{1, false, true}},
        {{4, false, false}},
        {{0, true, false}},
        {{2, true, false}, {3, false, true}, {4, false, false}},   // runs over joined texts
        {{1, false, false}, {4, false, false}, {0, true, true}},
    };
    for (quint32 seed : {1u, 2u, 3u}) {
        for (int n : {0, 1, 2, 3, 17, 500, 3000}) {
            const std::vector<Row> rows = makeRows(n, seed);
            const ResultSet rs = toResult(rows);
            for (const auto &keys : keySets) {
                std::vector<SortSpec> specs;
                for (const Key &k : keys)
                    specs.push_back(SortSpec{k.column, k.desc});
                ASSERT_EQ(RowSorter::order(rs, specs), referenceOrder(rows, keys))
                    << "seed " << seed << " rows " << n << " first key " << keys[0].column;
            }
        }
    }
}

TEST(RowSorter, SortRearrangesTheCopyAndSurvivesHostileInput)
{
    // Alternating extremes around the middle defeat a middle pivot; the
    // sort must still finish (no deep recursion) and be ordered.
    const int n = 200000;
    ResultSet rs({{"v", ColumnType::Integer}, {"t", ColumnType::Text}});
    for (int i = 0; i < n; ++i) {
        rs.addInteger(i % 2 ? i : n - i);
        rs.addText(QByteArray::number(i));
    }
    RowSorter::sort(rs, {{0, false}});
    ASSERT_EQ(rs.rowCount(), n);
    for (int i = 1; i < n; ++i)
        ASSERT_LE(rs.integer(i - 1, 0), rs.integer(i, 0));
    // Texts travel with their rows.
    for (int i = 0; i < n; ++i) {
        const int v = rs.integer(i, 0);
        const int original = rs.text(i, 1).toInt();
        ASSERT_EQ(original % 2 ? original : n - original, v);
    }
}

// Row k afterwards is old row order[k]: whole rows, in place for a
// rearrangement of every row, by copy for a selection or a repetition.
TEST(ResultSet, PermuteMovesWholeRows)
{
    const int n = 1000;
    auto filled = [](int rows) {
        ResultSet rs({{"v", ColumnType::Integer}, {"t", ColumnType::Text}});
        for (int i = 0; i < rows; ++i) {
            rs.addInteger(i);
            rs.addText(QByteArray(QByteArray("t") + QByteArray::number(i)));
        }
        return rs;
    };
    std::vector<std::vector<int>> orders;
    std::vector<int> shuffled(n);
    std::iota(shuffled.begin(), shuffled.end(), 0);
    for (quint32 seed : {1u, 2u}) {
        std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(seed));
        orders.push_back(shuffled);
    }
    std::vector<int> reversed(n);
    std::iota(reversed.rbegin(), reversed.rend(), 0);
    orders.push_back(reversed);
    orders.push_back({2, 0});        // a selection
    orders.push_back({1, 1, 0});     // a repetition
    for (const std::vector<int> &order : orders) {
        ResultSet rs = filled(n);
        rs.permute(order);
        ASSERT_EQ(rs.rowCount(), int(order.size()));
        for (std::size_t k = 0; k < order.size(); ++k) {
            ASSERT_EQ(rs.integer(int(k), 0), order[k]) << "row " << k;
            ASSERT_EQ(rs.text(int(k), 1), QByteArray(QByteArray("t") + QByteArray::number(order[k]))) << "row " << k;
        }
    }
}
