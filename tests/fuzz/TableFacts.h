#pragma once
// What the table and index targets look at: every live record's values as
// the engine reads them, and the table file's own bytes (header count, end
// marker, index) checked by plain reading rather than by the engine.

#include "base/Error.h"
#include "store/Table.h"
#include "store/MdxIndex.h"
#include "tests/fuzz/FuzzTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <vector>

namespace etibarix::fuzz {

struct RecordValues {
    std::int64_t recNo = 0;
    std::vector<QByteArray> texts;
    std::vector<std::int32_t> integers;
    friend bool operator==(const RecordValues &, const RecordValues &) = default;
};

inline QString describe(const RecordValues &v)
{
    QString text = QStringLiteral("#%1").arg(v.recNo);
    for (std::size_t i = 0; i < v.texts.size(); ++i)
        text += QStringLiteral(" [%1|%2]").arg(QString::fromLatin1(v.texts[i])).arg(v.integers[i]);
    return text;
}

inline RecordValues currentValues(const store::Table &table)
{
    RecordValues v;
    v.recNo = table.recNo();
    for (int f = 0; f < static_cast<int>(table.fields().size()); ++f) {
        v.texts.push_back(table.text(f).toByteArray());
        v.integers.push_back(table.integer(f));
    }
    return v;
}

inline std::vector<RecordValues> liveRecords(store::Table &table)
{
    std::vector<RecordValues> out;
    for (table.first(); !table.eof(); table.next())
        out.push_back(currentValues(table));
    return out;
}

inline std::uint32_t le32(const QByteArray &b, int at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

inline int le16(const QByteArray &b, int at)
{
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8;
}

// After a close that wrote appended records: the header counts every whole
// record in the file and the end marker stands right after the last one.
inline std::int64_t checkClosedTable(const QString &path)
{
    const QByteArray file = readFile(path);
    FUZZ_CHECK(file.size() >= 32, QStringLiteral("table of %1 bytes").arg(file.size()));
    const int headerLength = le16(file, 8);
    const int recordLength = le16(file, 10);
    FUZZ_CHECK(recordLength > 0 && headerLength <= file.size(), QStringLiteral("header %1").arg(headerLength));
    const std::int64_t records = (file.size() - headerLength) / recordLength;
    FUZZ_CHECK(le32(file, 4) == records,
               QStringLiteral("header counts %1, file holds %2 records").arg(le32(file, 4)).arg(records));
    FUZZ_CHECK(file.size() == headerLength + records * recordLength + 1 && file.back() == '\x1A',
               QStringLiteral("no end marker after record %1 (file of %2 bytes)").arg(records).arg(file.size()));
    return records;
}

// The index file of the table in dir (any letter case), empty when none.
inline QString indexFileIn(const QString &dir)
{
    const QStringList names = QDir(dir).entryList({QStringLiteral("*.mdx"), QStringLiteral("*.MDX")}, QDir::Files);
    return names.isEmpty() ? QString() : dir + names.front();
}

// The index on disk passes its own consistency check (one entry per record,
// deleted ones included), and its entries are the keys of the table's
// records: all of them, or those of the records named in `only` (an index
// that came from elsewhere may hold wrong keys for records this run never
// touched; the engine does not read the whole table to find out).
inline void checkIndexAgrees(const QString &tablePath, int keyOffset, int keyLength,
                             const std::vector<std::uint32_t> &only = {})
{
    const QString indexPath = indexFileIn(QFileInfo(tablePath).path() + u'/');
    FUZZ_CHECK(!indexPath.isEmpty(), QStringLiteral("no index beside %1").arg(tablePath));
    const QByteArray file = readFile(tablePath);
    const int headerLength = le16(file, 8);
    const int recordLength = le16(file, 10);
    const std::int64_t records = (file.size() - headerLength) / recordLength;
    std::vector<store::MdxIndex::Entry> entries;
    QString why;
    FUZZ_CHECK(store::MdxIndex::check(readFile(indexPath), "CB", keyLength, records, &entries, &why), why);
    for (const store::MdxIndex::Entry &e : entries) {
        if (!only.empty() && std::find(only.begin(), only.end(), e.recNo) == only.end())
            continue;
        const char *key = file.constData() + headerLength + (e.recNo - 1) * std::int64_t(recordLength) + keyOffset;
        FUZZ_CHECK(e.key == QByteArrayView(key, keyLength),
                   QStringLiteral("index key of record %1 differs from the table").arg(e.recNo));
    }
}

} // namespace etibarix::fuzz
