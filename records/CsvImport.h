#pragma once
// Importing records from a delimited text file. Every non-blank data line
// becomes one record: the next record number (NextRecordNum), the chosen
// fields as barcode, text 1, text 2 and quantity, the flag "O", written with
// one insert through RunCommand. Nothing here shows a window: the wizard and
// the command line supply the choices and follow the progress through a
// callback.
//
// The file is read by TextFile: Windows-1252 or UTF-8 (converted), no quoting (a separator between double
// quotes still splits), fields untrimmed, bytes unchanged. Double quotes are
// removed from the barcode and the texts, since the statement dialect has no
// way to hold them. The result counts what was stored and notes, line by
// line, what did not go in as the file had it, so that nothing is lost
// without the user being told.

#include "i18n/TextFile.h"
#include "store/Query.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <vector>

namespace etibarix::records {

// The field number that stands for "no field" (text 2 and quantity only).
inline constexpr int NoField = 0;
// Fields beyond the tenth are never looked at.
inline constexpr int ImportFieldCount = 10;

struct CsvImportOptions {
    char separator = ',';
    int headerLines = 0;          // non-blank lines skipped before the data
    int fieldCb = 1;              // field numbers 1..10
    int fieldText1 = 2;
    int fieldText2 = 3;           // or NoField: text 2 stays empty
    int fieldQuantity = NoField;  // or NoField: quantity 1
    i18n::TextEncoding encoding = i18n::TextEncoding::Automatic;
    // Lines whose barcode the table already holds (or an earlier line of the
    // file gave) are passed over, so that importing a file twice does not
    // double the table.
    bool skipExisting = false;
};

// How many data lines showed one kind of trouble, and the first of them
// (data lines counted from 1, header and blank lines not counted).
struct ImportNote {
    int lines = 0;
    int firstLine = 0;
    void add(int line)
    {
        if (lines++ == 0 || line < firstLine)
            firstLine = line;
    }
};

struct CsvImportResult {
    int linesRead = 0;        // data lines read (one insert each)
    int recordsStored = 0;    // inserts that the table took
    ImportNote rejected;      // inserts that failed; nothing stored for them
    QString firstRejection;   // the table's reason for the first of them
    i18n::TextEncoding encoding = i18n::TextEncoding::Windows1252; // as the file was read
    bool skipExisting = false;     // the option was on: the count below is told
    int skippedExisting = 0;       // lines passed over, their barcode already in the table
    ImportNote unstorableCharacter; // a UTF-8 character Windows-1252 cannot store: line not imported
    QString firstUnstorable;       // the first such character
    ImportNote unprintableBarcode; // a barcode Code 128 cannot print: line not imported
    QString firstUnprintable;      // the first such character
    ImportNote innerQuotes;   // a double quote removed from inside a field
    ImportNote textsCut;      // a text longer than its table field, cut by the table
    ImportNote quantityNotWhole;   // a non-empty quantity field that is not a whole number: 1 used
    ImportNote quantityOutOfRange; // a quantity the table's 3-digit field cannot hold
    ImportNote numberOutOfRange;   // a record number the table's 5-digit field cannot hold
    bool textAfterEndMark = false; // a Ctrl-Z ended the file before more text, never read

    bool clean() const
    {
        return rejected.lines == 0 && unstorableCharacter.lines == 0 && unprintableBarcode.lines == 0 && innerQuotes.lines == 0 && textsCut.lines == 0 && quantityNotWhole.lines == 0
            && quantityOutOfRange.lines == 0 && numberOutOfRange.lines == 0 && !textAfterEndMark;
    }
};

// Called once per data line, with its number n (1, 2, ...), before the line
// is read into a record; the wizard shows n and lets the window system work.
using ImportProgress = std::function<void(int n)>;

// text without any occurrence of c, the other characters in their order.
QByteArray RemoveChar(QByteArrayView text, char c);

// Throws base::Error for a field number out of range or a negative count of
// header lines.
void CheckImportOptions(const CsvImportOptions &options);

// Imports the file through the command query. Errors of the reader
// (i18n::TextFileError: the file cannot be opened or read) and of
// NextRecordNum reach the caller; the records inserted before stay.
CsvImportResult RunCsvImport(store::Query &commandQuery, const QString &path, const CsvImportOptions &options,
    const ImportProgress &progress = {});

// The data lines of the file as the import reads them (header lines skipped,
// blank lines left out), each cut after its tenth field: the preview's rows.
// Errors of the reader reach the caller.
std::vector<QByteArray> ReadPreviewLines(const QString &path, char separator, int headerLines,
    i18n::TextEncoding encoding = i18n::TextEncoding::Automatic);

// Language text 131, a blank and the count.
QString ImportCountText(int count);
// One sentence per kind of trouble of the result, in the user's language; empty when clean.
QString ImportNotesText(const CsvImportResult &result);
// The lines passed over as already in the table, when that was asked; else empty.
QString ImportSkippedText(const CsvImportResult &result);
// The final message: ImportCountText of the records stored, the skipped
// lines when that was asked, and, when the result is not clean, a blank
// line and ImportNotesText.
QString ImportFinalText(const CsvImportResult &result);

} // namespace etibarix::records
