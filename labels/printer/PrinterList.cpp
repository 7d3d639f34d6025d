#include "labels/printer/PrinterList.h"

#include <QPrinterInfo>

namespace etibarix::labels {

PrinterList FillPrinterList()
{
    PrinterList list;
    list.names = QPrinterInfo::availablePrinterNames();
    list.defaultName = QPrinterInfo::defaultPrinterName();
    return list;
}

} // namespace etibarix::labels
