#pragma once
// What a table left by an interrupted or refused command must look like:
// every record whole (its texts and quantity all made from one number x:
// "K<x>", "L<x>", "M<x>", x % 900), record numbers 1, 2, 3, ... in file
// order, and after the engine has opened and closed it, a header that
// counts every record, the end marker after the last one and an index that
// agrees with the table.

#include "store/Table.h"
#include "store/TableFiles.h"
#include "store/MdxIndex.h"
#include "tests/support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cstring>

namespace etibarix::test {

inline QByteArray hardeningCsv(int lines, const QByteArray &prefix = {})
{
    QByteArray csv;
    for (int x = 1; x <= lines; ++x) {
        const QByteArray n = prefix + QByteArray::number(x);
        csv += 'K' + n + ",L" + n + ",M" + n + ',' + QByteArray::number(x % 900) + '\n';
    }
    return csv;
}

// Walks the table in dir through the engine; returns the number of records,
// or -1 after a failed expectation.
inline int checkWholeTable(const QString &dir, const QByteArray &prefix = {})
{
    store::Table table{store::ArticleDefinition()};
    table.setFileName(dir + QStringLiteral("article.dbf"));
    try {
        table.open();
    } catch (const std::exception &) {
        ADD_FAILURE() << "the table does not open";
        return -1;
    }
    int n = 0;
    bool whole = true;
    for (table.first(); !table.eof() && whole; table.next()) {
        ++n;
        const QByteArray cb = table.text(table.fieldIndex("cb")).toByteArray();
        const QByteArray x = cb.mid(1 + prefix.size());
        whole = table.integer(table.fieldIndex("num")) == n && cb.startsWith(QByteArray('K' + prefix))
            && table.text(table.fieldIndex("lib1")) == QByteArray('L' + prefix + x)
            && table.text(table.fieldIndex("lib2")) == QByteArray('M' + prefix + x)
            && table.integer(table.fieldIndex("quantite")) == x.toInt() % 900
            && table.text(table.fieldIndex("topp")) == "O";
        EXPECT_TRUE(whole) << "record " << n << " is not whole or not numbered on: " << cb.constData();
    }
    table.close();
    if (!whole)
        return -1;

    const QByteArray file = readFile(dir + QStringLiteral("article.dbf"));
    const auto u16 = [&](int at) { return int(quint8(file[at])) | int(quint8(file[at + 1])) << 8; };
    const int headerLength = u16(8);
    const int recordLength = u16(10);
    const qint64 records = (file.size() - headerLength) / recordLength;
    quint32 counted = 0;
    std::memcpy(&counted, file.constData() + 4, 4);
    EXPECT_EQ(counted, records) << "header count";
    EXPECT_EQ(file.size(), headerLength + records * recordLength + 1) << "end marker";
    EXPECT_EQ(file.back(), '\x1A') << "end marker";
    EXPECT_EQ(records, n) << "deleted or extra records";

    const QStringList indexes = QDir(dir).entryList({QStringLiteral("*.mdx")}, QDir::Files);
    EXPECT_EQ(indexes.size(), 1);
    if (indexes.size() == 1) {
        std::vector<store::MdxIndex::Entry> entries;
        QString why;
        EXPECT_TRUE(store::MdxIndex::check(readFile(dir + indexes.front()), "CB", 50, records, &entries, &why))
            << why.toStdString();
        for (const store::MdxIndex::Entry &e : entries) {
            const QByteArrayView key(file.constData() + headerLength + (e.recNo - 1) * qint64(recordLength) + 6, 50);
            if (e.key != key) {
                ADD_FAILURE() << "index key of record " << e.recNo << " differs from the table";
                break;
            }
        }
    }
    return n;
}

// Only plain files in dir: no temporary directory or file left behind
// (names other than those given are reported).
inline void expectOnlyFiles(const QString &dir, const QStringList &names)
{
    QStringList present = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    present.sort();
    QStringList wanted = names;
    wanted.sort();
    EXPECT_EQ(present.join(u' ').toStdString(), wanted.join(u' ').toStdString());
}

} // namespace etibarix::test
