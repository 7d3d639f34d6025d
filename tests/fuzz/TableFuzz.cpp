// The table file: any bytes as article.dbf. The open either fails with the
// engine's error and leaves the file as it was, or the table walks, takes an
// append and an update, closes with a header and end marker that agree with
// the file, opens again and reads back exactly what it held plus the change.

#include "store/TableFormat.h"
#include "store/TableFiles.h"
#include "tests/fuzz/TableFacts.h"

using namespace etibarix;
using namespace etibarix::fuzz;

namespace {

bool isNumeric(const store::FieldDef &f)
{
    return f.type == 'N' || f.type == 'F';
}

// The value every field of the appended record gets: its number, as text
// in a C field.
std::vector<store::FieldAssignment> appendedValues(const std::vector<store::FieldDef> &fields)
{
    std::vector<store::FieldAssignment> values;
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        if (isNumeric(fields[i]))
            values.push_back({i, std::int32_t(i + 1)});
        else
            values.push_back({i, QByteArray("F") + QByteArray::number(i + 1)});
    }
    return values;
}

// The values a record holding `values` reads back with, through the
// field encoding.
RecordValues expectedRecord(const std::vector<store::FieldDef> &fields, const std::vector<store::FieldAssignment> &values,
                            const RecordValues &before)
{
    RecordValues r = before;
    for (const store::FieldAssignment &a : values) {
        const store::FieldDef &f = fields[a.field];
        QByteArray bytes(f.width, ' ');
        store::TableFormat::encode(f, a.value, bytes.data());
        r.texts[a.field] = store::TableFormat::trimmedText(bytes.constData(), f.width).toByteArray();
        r.integers[a.field] = store::TableFormat::parseInteger(bytes.constData(), f.width);
    }
    return r;
}

} // namespace

ETIBARIX_FUZZ_TARGET(table)
{
    const QString dir = scratchDir();
    emptyDir(dir);
    const QString path = dir + QStringLiteral("article.dbf");
    writeFile(path, input);

    std::vector<RecordValues> before;
    std::vector<store::FieldDef> fields;
    {
        store::Table table{store::ArticleDefinition()};
        table.setFileName(path);
        try {
            table.open();
        } catch (const base::Error &e) {
            FUZZ_CHECK(e.text().startsWith(u"Dataset error: Error # "), e.text());
            FUZZ_CHECK(readFile(path) == input, QStringLiteral("a failed open changed the file"));
            return;
        }
        fields = table.fields();
        before = liveRecords(table);
        // Walked twice, the table reads the same.
        FUZZ_CHECK(liveRecords(table) == before, QStringLiteral("second walk differs"));

        table.append(appendedValues(fields));
        table.first();
        if (!table.eof()) {
            std::vector<store::FieldAssignment> update;
            for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
                if (!isNumeric(fields[i]))
                    update.push_back({i, QByteArray("U")});
            }
            table.updateCurrent(update);
        }
        table.close();
    }

    const std::int64_t records = checkClosedTable(path);
    FUZZ_CHECK(records >= static_cast<std::int64_t>(before.size()) + 1, QStringLiteral("records lost"));

    store::Table table{store::ArticleDefinition()};
    table.setFileName(path);
    try {
        table.open();
    } catch (const base::Error &e) {
        fail(__FILE__, __LINE__, "reopen", e.text());
    }
    const std::vector<RecordValues> after = liveRecords(table);
    FUZZ_CHECK(after.size() == before.size() + 1,
               QStringLiteral("%1 live records before, %2 after one append").arg(before.size()).arg(after.size()));

    // The append, then the update of the first live record (which is the
    // appended one in a table that had none).
    std::vector<RecordValues> expected = before;
    RecordValues appended;
    appended.recNo = records;
    appended.texts.resize(fields.size());
    appended.integers.resize(fields.size());
    expected.push_back(expectedRecord(fields, appendedValues(fields), appended));
    std::vector<store::FieldAssignment> update;
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        if (!isNumeric(fields[i]))
            update.push_back({i, QByteArray("U")});
    }
    expected.front() = expectedRecord(fields, update, expected.front());
    for (std::size_t i = 0; i < expected.size(); ++i)
        FUZZ_CHECK(after[i] == expected[i], QStringLiteral("record %1 reads back changed (%2 / %3)")
                                                .arg(after[i].recNo)
                                                .arg(describe(after[i]), describe(expected[i])));

    table.close();
    // The index follows the last C field named CB that a key can hold.
    int key = -1;
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        if (fields[i].name.compare("CB", Qt::CaseInsensitive) == 0 && fields[i].type == 'C' && fields[i].width <= 100)
            key = i;
    }
    if (key >= 0)
        checkIndexAgrees(path, fields[key].offset, fields[key].width);
}

ETIBARIX_FUZZ_SEEDS(table)
{
    // Tables written by the engine: empty, three records, one of them
    // deleted, and one whose appends were never closed (stale header count,
    // no end marker).
    const QString dir = scratchDir() + QStringLiteral("seed/");
    QDir().mkpath(dir);
    emptyDir(dir);
    const QString path = dir + QStringLiteral("article.dbf");
    Seeds seeds;
    store::Table table{store::ArticleDefinition()};
    table.setFileName(path);
    table.open();
    table.close();
    seeds.push_back({QStringLiteral("empty.dbf"), readFile(path)});
    table.open();
    for (int i = 1; i <= 3; ++i) {
        const store::FieldAssignment values[] = {
            {table.fieldIndex("num"), std::int32_t(i)},
            {table.fieldIndex("cb"), QByteArray("376012345") + QByteArray::number(i)},
            {table.fieldIndex("lib1"), QByteArray("  PLATEAU CH\xCA" "NE")},
            {table.fieldIndex("quantite"), std::int32_t(i * 400)},
            {table.fieldIndex("topp"), QByteArray("O")},
        };
        table.append(values);
    }
    table.close();
    seeds.push_back({QStringLiteral("three.dbf"), readFile(path)});
    table.open();
    table.next();
    table.deleteCurrent();
    const store::FieldAssignment more[] = {{table.fieldIndex("num"), std::int32_t(4)}};
    table.append(more);
    seeds.push_back({QStringLiteral("unclosed.dbf"), readFile(path)});
    table.close();
    seeds.push_back({QStringLiteral("deleted.dbf"), readFile(path)});
    emptyDir(dir);
    return seeds;
}
