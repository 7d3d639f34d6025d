#pragma once
// Helpers of the table tests: a table in a fresh directory, records in and out.

#include "store/Table.h"
#include "tests/support/TestSupport.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

namespace etibarix::test {

struct Article {
    std::int32_t num = 0;
    QByteArray cb;
    QByteArray lib1;
    QByteArray lib2;
    std::int32_t quantite = 0;
    QByteArray topp;
    friend bool operator==(const Article &, const Article &) = default;
};

inline void appendArticle(store::Table &t, const Article &a)
{
    const store::FieldAssignment values[] = {
        {t.fieldIndex("num"), a.num},   {t.fieldIndex("cb"), a.cb},
        {t.fieldIndex("lib1"), a.lib1}, {t.fieldIndex("lib2"), a.lib2},
        {t.fieldIndex("quantite"), a.quantite}, {t.fieldIndex("topp"), a.topp},
    };
    t.append(values);
}

inline Article currentArticle(const store::Table &t)
{
    Article a;
    a.num = t.integer(t.fieldIndex("num"));
    a.cb = t.text(t.fieldIndex("cb")).toByteArray();
    a.lib1 = t.text(t.fieldIndex("lib1")).toByteArray();
    a.lib2 = t.text(t.fieldIndex("lib2")).toByteArray();
    a.quantite = t.integer(t.fieldIndex("quantite"));
    a.topp = t.text(t.fieldIndex("topp")).toByteArray();
    return a;
}

// Every live record, in walk order.
inline std::vector<Article> walk(store::Table &t)
{
    std::vector<Article> out;
    for (t.first(); !t.eof(); t.next())
        out.push_back(currentArticle(t));
    return out;
}

inline QByteArray todayBytes()
{
    const QDate d = QDate::currentDate();
    QByteArray b(3, '\0');
    b[0] = static_cast<char>(d.year() - 1900);
    b[1] = static_cast<char>(d.month());
    b[2] = static_cast<char>(d.day());
    return b;
}

inline std::uint32_t le32(const QByteArray &b, qsizetype at)
{
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8)
         | (static_cast<unsigned char>(b[at + 2]) << 16)
         | (std::uint32_t(static_cast<unsigned char>(b[at + 3])) << 24);
}

} // namespace etibarix::test
