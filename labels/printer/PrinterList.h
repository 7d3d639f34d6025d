#pragma once
// The installed printers, for the printer list of the print tab and the CLI.

#include <QString>
#include <QStringList>

namespace etibarix::labels {

struct PrinterList {
    QStringList names;      // in the order the platform lists them
    QString defaultName;    // empty when there is no default printer
};

// The printers installed on the system now; the GUI replaces the items of its
// printer combo box by `names` and selects nothing.
PrinterList FillPrinterList();

} // namespace etibarix::labels
