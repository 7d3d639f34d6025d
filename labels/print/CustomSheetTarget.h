#pragma once
// The print job's target for a format of the user's own: the record query is
// the program's (delegated to `records`), while the labels are drawn straight
// from the format's geometry, with no report layout: the job's slot
// parameters are kept here and each sheet is drawn by DrawCustomLabel. A slot
// whose barcode parameter is empty stays blank: the job fills every slot it
// uses with a barcode, so an empty one is a slot it left free.

#include "labels/formats/SheetFormat.h"
#include "labels/print/PrintJobTarget.h"

#include <QHash>

namespace etibarix::labels {

class SheetSink;

class CustomSheetTarget : public PrintJobTarget {
public:
    CustomSheetTarget(PrintJobTarget &records, SheetSink &sink, SheetFormat format, bool fit);

    void setLayoutFile(const QString &) override {}
    void openLayouts() override {}
    void closeLayouts() override {}
    void setLayoutParam(const QByteArray &name, const QByteArray &value) override;
    void setSlotCodeSet(const QByteArray &report, int slot, int codeSet) override;
    void setTextFonts(const QByteArray &, int, const QString &, int) override {}
    void removeEmptySlotBarcodes(const QByteArray &, int, int) override {}
    void blankSlotBarcodes(const QByteArray &, int, int) override {}
    // The drawing shrinks what does not fit when the target was made to.
    void fitSlotBarcode(const QByteArray &, int, double) override {}
    // No layouts: the job measures its slots on the format.
    std::optional<SlotBarcode> slotBarcode(const QByteArray &, int) override { return std::nullopt; }
    void setReportPrinter(const QByteArray &report, const QString &printerName) override;
    bool runLabelReport(const QByteArray &report) override;

    int openQuery(const QByteArray &statement) override { return m_records.openQuery(statement); }
    PrintRecord currentRecord() override { return m_records.currentRecord(); }
    void nextRecord() override { m_records.nextRecord(); }
    void firstRecord() override { m_records.firstRecord(); }
    void closeQuery() override { m_records.closeQuery(); }

private:
    PrintJobTarget &m_records;
    SheetSink &m_sink;
    SheetFormat m_format;
    bool m_fit;
    QHash<QByteArray, QByteArray> m_params;   // by lower-case name
    QHash<int, int> m_codeSets;
    QString m_printer;
};

} // namespace etibarix::labels
