#pragma once
// The print job's target in the program: the report project of the label
// layouts, the command query, and the sheet sink (printer, PDF file or
// preview pages) that the reports print on.

#include "labels/print/PrintJobTarget.h"

namespace etibarix::store {
class Query;
}

namespace etibarix::labels {

class LabelReport;
class SheetSink;

class PrintJobProjectTarget : public PrintJobTarget {
public:
    PrintJobProjectTarget(LabelReport &report, store::Query &query, SheetSink &sink);

    void setLayoutFile(const QString &path) override;
    void openLayouts() override;
    void closeLayouts() override;
    void setLayoutParam(const QByteArray &name, const QByteArray &value) override;

    void setSlotCodeSet(const QByteArray &report, int slot, int codeSet) override;
    void setTextFonts(const QByteArray &report, int labelsPerPage, const QString &fontName, int charset) override;
    void removeEmptySlotBarcodes(const QByteArray &report, int first, int last) override;
    void setReportPrinter(const QByteArray &report, const QString &printerName) override;
    bool runLabelReport(const QByteArray &report) override;

    int openQuery(const QByteArray &statement) override;
    PrintRecord currentRecord() override;
    void nextRecord() override;
    void closeQuery() override;

private:
    LabelReport &m_report;
    store::Query &m_query;
    SheetSink &m_sink;
    QString m_printerName;   // the last name given to setReportPrinter
};

} // namespace etibarix::labels
