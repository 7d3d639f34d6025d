#pragma once
// Rules of the record entry shared by the record dialog, the CSV import and
// the command line: whole-number quantities and capital barcodes.

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace etibarix::records {

// True when the text is not empty and reads whole as a signed 32-bit decimal
// number: optional leading blanks, an optional sign, digits, nothing after.
// The value is stored through value when given.
bool IsInteger(QByteArrayView text, std::int32_t *value = nullptr);

// Letters turned into capitals as the barcode edit does while typing; a
// letter whose capital Windows-1252 cannot hold (such as the sharp s) stays.
QByteArray ToCapitals(QByteArrayView cp1252);

} // namespace etibarix::records
