#pragma once
// Rules of the record entry shared by the record dialog, the CSV import and
// the command line: whole-number quantities and capital barcodes.

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace etibarix::records {

// What the article table's fields hold: longer texts would be cut, larger
// quantities stored as asterisks.
inline constexpr qsizetype BarcodeWidth = 50;
inline constexpr qsizetype TextWidth = 100;
inline constexpr std::int32_t QuantityLimit = 999;

// Code 128 prints the bytes 0x00-0x7F and the escape bytes 0xF1-0xF8; any
// other byte would be dropped from the symbol without a word. The position
// of the first such byte of a barcode, or -1.
qsizetype FirstUnprintableBarcodeByte(QByteArrayView cb);
// Throws base::Error naming the first such character, for a new entry.
void RefuseUnprintableBarcode(QByteArrayView cb);

// True when the text is not empty and reads whole as a signed 32-bit decimal
// number: optional leading blanks, an optional sign, digits, nothing after.
// The value is stored through value when given.
bool IsInteger(QByteArrayView text, std::int32_t *value = nullptr);

// Letters turned into capitals as the barcode edit does while typing; a
// letter whose capital Windows-1252 cannot hold (such as the sharp s) stays.
QByteArray ToCapitals(QByteArrayView cp1252);

} // namespace etibarix::records
