#pragma once
// What a print job drives: the report project with its label layouts, the
// command query that selects the records, and the print engine. The program
// uses PrintJobProjectTarget; tests put a recording fake in its place.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace etibarix::labels {

// The fields of a selected row that a label needs.
struct PrintRecord {
    QByteArray cb;
    QByteArray lib1;
    QByteArray lib2;
    int quantite = 0;
    std::int32_t num = 0;
};

// A slot's barcode as its layout draws it (lengths in mm): its module,
// whether it chooses its code sets for the shortest symbol, and where its
// bars begin.
struct SlotBarcode {
    double moduleMm = 0;
    bool optimize = true;
    double leftMm = 0;
};

class PrintJobTarget {
public:
    virtual ~PrintJobTarget() = default;

    // Report project (errors of reading it are thrown as base::Error).
    virtual void setLayoutFile(const QString &path) = 0;
    virtual void openLayouts() = 0;
    virtual void closeLayouts() = 0;
    virtual void setLayoutParam(const QByteArray &name, const QByteArray &value) = 0;

    // Slot operations on the page report + ".page1"; what is missing is skipped.
    virtual void setSlotCodeSet(const QByteArray &report, int slot, int codeSet) = 0;
    virtual void setTextFonts(const QByteArray &report, int labelsPerPage, const QString &fontName,
                              int charset) = 0;
    virtual void removeEmptySlotBarcodes(const QByteArray &report, int first, int last) = 0;
    // The barcodes of slots first..last print nothing on the next sheet only:
    // the slots a job leaves free at the start of a used sheet.
    virtual void blankSlotBarcodes(const QByteArray &report, int first, int last) = 0;
    // Gives the slot's barcode, for the next sheet, a module narrow enough
    // for its symbol to end by `rightMm` (its label's right edge), never
    // below the floor of Code128Symbol::FitBarWidth; a symbol that fits, or
    // cannot, keeps the layout's module.
    virtual void fitSlotBarcode(const QByteArray &report, int slot, double rightMm) = 0;
    // The barcode of the slot as the layout draws it before any fitting;
    // nullopt when the slot has none (or the target has no layouts).
    virtual std::optional<SlotBarcode> slotBarcode(const QByteArray &report, int slot) = 0;
    virtual void setReportPrinter(const QByteArray &report, const QString &printerName) = 0;

    // Prints the report once as one sheet. Returns false when the user
    // cancelled the sheet. A report that does not exist prints nothing (true).
    virtual bool runLabelReport(const QByteArray &report) = 0;

    // Command query: runs the select (errors thrown as base::Error) and returns
    // the number of rows; the first row is current.
    virtual int openQuery(const QByteArray &statement) = 0;
    virtual PrintRecord currentRecord() = 0;
    virtual void nextRecord() = 0;
    // Makes the first row current again.
    virtual void firstRecord() = 0;
    virtual void closeQuery() = 0;
};

} // namespace etibarix::labels
