#include "records/CsvImport.h"

#include "base/Cp1252.h"
#include "base/Error.h"
#include "i18n/LanguageTable.h"
#include "i18n/TextFile.h"
#include "records/RecordCommands.h"
#include "records/RecordRules.h"
#include "records/RecordStatements.h"

#include <QElapsedTimer>
#include <QSet>
#include <QStringList>

#include <utility>

namespace etibarix::records {
namespace {

// Widths of the article table's fields: longer texts are cut, numbers that do
// not fit are stored as asterisks.
constexpr qsizetype CbWidth = BarcodeWidth;
constexpr std::int32_t QuantityMin = -99;
constexpr std::int32_t QuantityMax = 999;
constexpr std::int32_t NumMax = 99999;

// A double quote that is not one of a pair enclosing the whole field is part
// of the data, and is lost when the quotes are removed.
bool hasInnerQuote(QByteArrayView field)
{
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        field = field.sliced(1, field.size() - 2);
    return field.contains('"');
}

bool fieldInRange(int field, bool noneAllowed)
{
    return (field >= 1 && field <= ImportFieldCount) || (noneAllowed && field == NoField);
}

// The barcodes of the live records, as the table holds them.
QSet<QByteArray> storedBarcodes(store::Query &commandQuery)
{
    commandQuery.close();
    commandQuery.setSql("select * from article");
    commandQuery.open();
    QSet<QByteArray> barcodes;
    barcodes.reserve(commandQuery.recordCount());
    for (commandQuery.first(); !commandQuery.eof(); commandQuery.next())
        barcodes.insert(commandQuery.text("cb"));
    commandQuery.close();
    return barcodes;
}

// The reason given is the one of the lowest line rejected.
void noteRejected(CsvImportResult &result, int line, const QString &reason)
{
    if (result.rejected.lines == 0 || line < result.rejected.firstLine)
        result.firstRejection = reason;
    result.rejected.add(line);
}

// The append region is held over lines for a few milliseconds at a time:
// taking and letting go of it for every line cost more than storing the
// line. A program that waits for it (a desktop program saving a record) gets
// it between two lines. With a progress callback (a window) it is let go
// before every line, as the callback may run anything. Without one the
// records of a hold are also written together, a write for hundreds of
// lines; should some not fit on the disk, their lines count as rejected.
class AppendBatch {
public:
    AppendBatch(store::Query &commandQuery, CsvImportResult &result, bool writeTogether)
        : m_table(commandQuery.dataSet("article")), m_result(result), m_together(writeTogether)
    {
        if (m_together)
            m_table.setAppendsWrittenTogether(true);
    }
    ~AppendBatch()
    {
        // Reached also when the import fails: the records kept so far are
        // written, an error meanwhile gives way to the one under way.
        try {
            letGo();
            if (m_together)
                m_table.setAppendsWrittenTogether(false);
        } catch (const std::exception &) {
        }
    }
    AppendBatch(const AppendBatch &) = delete;
    AppendBatch &operator=(const AppendBatch &) = delete;

    void letGo()
    {
        write();
        if (std::exchange(m_held, false))
            m_table.releaseAppends();
    }

    // Before a line is stored.
    void lineBegins()
    {
        if (m_lines.size() >= kLinesTogether)
            write();
        if (m_held && m_since.elapsed() < kHoldMs)
            return;
        write();
        const bool held = std::exchange(m_held, false);
        if (held)
            m_table.passAppendsOn();
        else
            m_table.holdAppends();
        m_held = true;
        m_since.start();
    }

    // After the line's record was appended.
    void stored(int line)
    {
        ++m_result.recordsStored;
        if (m_together)
            m_lines.push_back(line);
    }

private:
    void write()
    {
        if (m_lines.empty())
            return;
        QString why;
        const std::int64_t lost = m_table.writeAppends(&why);
        const std::size_t kept = m_lines.size() - std::min(m_lines.size(), static_cast<std::size_t>(lost));
        for (std::size_t i = kept; i < m_lines.size(); ++i) {
            --m_result.recordsStored;
            noteRejected(m_result, m_lines[i], why);
        }
        m_lines.clear();
    }

    static constexpr int kHoldMs = 20;
    static constexpr std::size_t kLinesTogether = 512;
    store::Table &m_table;
    CsvImportResult &m_result;
    const bool m_together;
    bool m_held = false;
    QElapsedTimer m_since;
    std::vector<int> m_lines;   // of the records not yet written
};

// A barcode as the table would hold it: cut to its field, trailing blanks gone.
QByteArray asStored(const QByteArray &cb)
{
    QByteArray stored = cb.left(CbWidth);
    while (stored.endsWith(' '))
        stored.chop(1);
    return stored;
}

QString ordinalLine(const ImportNote &note)
{
    return note.lines == 1 ? i18n::LangString(i18n::Text::NoteOneLine).arg(note.firstLine)
                           : i18n::LangString(i18n::Text::NoteSeveralLines).arg(note.lines).arg(note.firstLine);
}

} // namespace

QByteArray RemoveChar(QByteArrayView text, char c)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char ch : text)
        if (ch != c)
            out.append(ch);
    return out;
}

void CheckImportOptions(const CsvImportOptions &o)
{
    if (o.headerLines < 0)
        throw base::Error(i18n::LangString(i18n::Text::HeaderLinesNegative));
    if (!fieldInRange(o.fieldCb, false) || !fieldInRange(o.fieldText1, false) || !fieldInRange(o.fieldText2, true)
        || !fieldInRange(o.fieldQuantity, true))
        throw base::Error(i18n::LangString(i18n::Text::FieldNumberOutOfRange).arg(ImportFieldCount));
}

CsvImportResult RunCsvImport(store::Query &commandQuery, const QString &path, const CsvImportOptions &o,
    const ImportProgress &progress)
{
    CheckImportOptions(o);
    i18n::TextFile file;
    file.SetSeparator(o.separator);
    file.SetEncoding(o.encoding);
    file.Open(path);
    for (int i = 0; i < o.headerLines; ++i)
        file.NextLine();

    CsvImportResult result;
    result.encoding = file.Encoding();
    result.skipExisting = o.skipExisting;
    QSet<QByteArray> barcodes;
    if (o.skipExisting)
        barcodes = storedBarcodes(commandQuery);
    PreparedInsert insert;
    AppendBatch batch(commandQuery, result, !progress);
    while (!file.AtEnd()) {
        const int n = ++result.linesRead;
        if (progress) {
            // The caller may run anything meanwhile (a window handles its
            // events): not while holding the region.
            batch.letGo();
            progress(n);
        }
        if (!file.UnstorableCharacter().isEmpty()) {
            if (result.unstorableCharacter.lines == 0)
                result.firstUnstorable = file.UnstorableCharacter();
            result.unstorableCharacter.add(n);
            file.NextLine();
            continue;
        }

        const QByteArray rawCb = file.Field(o.fieldCb);
        const QByteArray rawText1 = file.Field(o.fieldText1);
        const QByteArray rawText2 = o.fieldText2 == NoField ? QByteArray() : file.Field(o.fieldText2);
        if (hasInnerQuote(rawCb) || hasInnerQuote(rawText1) || hasInnerQuote(rawText2))
            result.innerQuotes.add(n);

        RecordEntry entry;
        entry.cb = RemoveChar(rawCb, '"');
        entry.lib1 = RemoveChar(rawText1, '"');
        entry.lib2 = RemoveChar(rawText2, '"');
        entry.topp = "O";
        // A barcode that Code 128 cannot print as stored is not taken in.
        if (const qsizetype at = FirstUnprintableBarcodeByte(entry.cb); at >= 0) {
            if (result.unprintableBarcode.lines == 0)
                result.firstUnprintable = base::fromCp1252(entry.cb.sliced(at, 1));
            result.unprintableBarcode.add(n);
            file.NextLine();
            continue;
        }
        if (o.skipExisting) {
            const QByteArray stored = asStored(entry.cb);
            if (barcodes.contains(stored)) {
                ++result.skippedExisting;
                file.NextLine();
                continue;
            }
            barcodes.insert(stored);
        }
        if (entry.cb.size() > CbWidth || entry.lib1.size() > TextWidth || entry.lib2.size() > TextWidth)
            result.textsCut.add(n);

        entry.quantite = 1;
        if (o.fieldQuantity != NoField) {
            const QByteArray q = file.Field(o.fieldQuantity);
            std::int32_t value = 1;
            if (IsInteger(q, &value))
                entry.quantite = value;
            else if (!q.isEmpty())
                result.quantityNotWhole.add(n);
            if (entry.quantite < QuantityMin || entry.quantite > QuantityMax)
                result.quantityOutOfRange.add(n);
        }

        // The number and its record are one step for other programs.
        batch.lineBegins();
        NumberingLock numbering(commandQuery);
        const std::int32_t num = NextRecordNum(commandQuery);
        if (num > NumMax)
            result.numberOutOfRange.add(n);
        // The quotes are gone, so the statement is the prepared one.
        QString reason;
        if (RunInsert(commandQuery, insert.bind(num, entry), &reason)) {
            batch.stored(n);
        } else {
            noteRejected(result, n, reason);
        }
        file.NextLine();
    }
    batch.letGo();
    result.textAfterEndMark = file.TextAfterCtrlZ();
    return result;
}

std::vector<QByteArray> ReadPreviewLines(const QString &path, char separator, int headerLines,
    i18n::TextEncoding encoding)
{
    i18n::TextFile file;
    file.SetSeparator(separator);
    file.SetEncoding(encoding);
    file.Open(path);
    for (int i = 0; i < headerLines; ++i)
        file.NextLine();
    std::vector<QByteArray> lines;
    while (!file.AtEnd()) {
        const QByteArray &line = file.Line();
        // Only the first ten fields are shown: the rest is not kept.
        qsizetype cut = -1;
        for (int s = 0; s < ImportFieldCount; ++s) {
            cut = line.indexOf(separator, cut + 1);
            if (cut < 0)
                break;
        }
        lines.push_back(cut < 0 ? line : line.left(cut));
        file.NextLine();
    }
    return lines;
}

QString ImportCountText(int count)
{
    return i18n::LangString(i18n::Text::ImportedCount) + u' ' + QString::number(count);
}

QString ImportNotesText(const CsvImportResult &r)
{
    QStringList notes;
    if (r.rejected.lines > 0)
        notes << i18n::LangString(i18n::Text::NoteLinesNotStored)
                     .arg(r.rejected.lines)
                     .arg(r.linesRead)
                     .arg(ordinalLine(r.rejected), r.firstRejection);
    if (r.unstorableCharacter.lines > 0)
        notes << i18n::LangString(i18n::Text::NoteUnstorableCharacter)
                     .arg(ordinalLine(r.unstorableCharacter), r.firstUnstorable);
    if (r.unprintableBarcode.lines > 0)
        notes << i18n::LangString(i18n::Text::NoteUnprintableBarcode)
                     .arg(ordinalLine(r.unprintableBarcode), r.firstUnprintable);
    if (r.innerQuotes.lines > 0)
        notes << i18n::LangString(i18n::Text::NoteInnerQuotes)
                     .arg(ordinalLine(r.innerQuotes));
    if (r.textsCut.lines > 0)
        notes << i18n::LangString(i18n::Text::NoteTextsCut)
                     .arg(CbWidth)
                     .arg(TextWidth)
                     .arg(ordinalLine(r.textsCut));
    if (r.quantityNotWhole.lines > 0)
        notes << i18n::LangString(i18n::Text::NoteQuantityNotWhole)
                     .arg(ordinalLine(r.quantityNotWhole));
    if (r.quantityOutOfRange.lines > 0)
        notes << i18n::LangString(i18n::Text::NoteQuantityOutOfRange)
                     .arg(QuantityMin)
                     .arg(QuantityMax)
                     .arg(ordinalLine(r.quantityOutOfRange));
    if (r.numberOutOfRange.lines > 0)
        notes << i18n::LangString(i18n::Text::NoteNumberOutOfRange)
                     .arg(NumMax)
                     .arg(ordinalLine(r.numberOutOfRange));
    if (r.textAfterEndMark)
        notes << i18n::LangString(i18n::Text::NoteTextAfterEndMark)
                     .arg(r.linesRead);
    if (!notes.isEmpty())
        notes << i18n::LangString(i18n::Text::NoteLineCounting);
    return notes.join(u'\n');
}

QString ImportSkippedText(const CsvImportResult &result)
{
    if (!result.skipExisting)
        return {};
    return i18n::LangString(i18n::Text::ImportSkippedCount) + u' ' + QString::number(result.skippedExisting);
}

QString ImportFinalText(const CsvImportResult &result)
{
    QString count = ImportCountText(result.recordsStored);
    if (result.skipExisting)
        count += u'\n' + ImportSkippedText(result);
    if (result.clean())
        return count;
    return count + QStringLiteral("\n\n") + ImportNotesText(result);
}

} // namespace etibarix::records
