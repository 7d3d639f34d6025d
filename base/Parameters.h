#pragma once
// The parameter file ETIBARIX.PAR: the user's choices kept from one run to the
// next, one 120-byte record, integers little-endian.
//
//   offset  width  field
//        0      1  Tag length (3)
//        1      3  Tag characters ("EBP")
//        4      4  Language          1 French, 2 English, 3 Portuguese
//        8      4  CodeSet           1 Code A, 2 Code B, 3 Code C
//       12      4  LabelFormatIndex  position in the label format list, -1 none
//       16      1  PrinterName length (0..100)
//       17    100  PrinterName characters (Windows-1252)
//      117      3  reserved
//
// Bytes the program never sets (reserved, and those after the printer name)
// are carried over unchanged from whatever the record last held.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <functional>

namespace etibarix::base {

class ParameterRecord {
public:
    static constexpr int Size = 120;
    static constexpr int PrinterNameCapacity = 100;

    std::int32_t Language = 0;
    std::int32_t CodeSet = 0;
    std::int32_t LabelFormatIndex = 0;

    // The printer name's bytes; a stored length above 100 counts as 100.
    QByteArray PrinterName() const;
    // Keeps the first 100 bytes; the bytes after them stay as they were.
    void SetPrinterName(QByteArrayView name);
    // The same through Windows-1252 (characters without a byte become '?').
    QString PrinterNameText() const;
    void SetPrinterNameText(QStringView name);

    // The record as written to the file.
    QByteArray Bytes() const;
    // Replaces the start of the record with bytes (at most 120 are used), as
    // a read of the file that stopped early leaves it.
    void Assign(QByteArrayView bytes);
    // The in-memory record as it stands at start-up: all zero.
    void Clear();

private:
    std::array<char, Size> wholeRecord() const;

    // Everything except the three integers, kept byte for byte.
    std::array<char, Size> m_raw{};
};

// The program-wide parameter record.
extern ParameterRecord Parameters;

// Texts of the write failure box; fixed French texts in every language.
inline constexpr QStringView SaveFailedText = u"Il y a eu un problème";
inline constexpr QStringView SaveFailedCaption = u"Fichier non sauvegardé !!";

// DataDir() + "ETIBARIX.PAR".
QString ParameterFilePath();

// Sets Language and CodeSet to 1, then reads the file into Parameters.
// True when the file existed (even when reading it failed). A file that
// cannot be read whole (shorter than 120 bytes, unreadable) is deleted
// without a message; the bytes read before the failure stay in the record.
// Parameters.CodeSet then tells which code set button to check.
bool LoadParameters();

// Reads the file into Parameters like LoadParameters, without the defaults
// and without ever deleting anything (for tools that only look).
bool PeekParameters();

// Called with the failure box's text and caption when the file could not be
// written; the caller beeps and shows them.
using SaveFailedHandler = std::function<void(const QString &text, const QString &caption)>;

// Stores the tag, the label format position (-1 when none is selected) and
// the first 100 characters of the printer name in Parameters, then writes the
// record. The file is written beside the old one and renamed over it, so the
// old settings survive a failed write. Returns false (after calling
// onFailure) when the file could not be written.
bool SaveParameters(int labelFormatIndex, QStringView printerName, const SaveFailedHandler &onFailure = {});

} // namespace etibarix::base
