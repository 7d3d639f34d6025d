#pragma once
// A print job target that runs no project and no query: it serves fixed rows
// and records what the job asks for, with a snapshot of the slots of every
// sheet it is told to print.

#include "base/Error.h"
#include "labels/print/PrintJobTarget.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSet>
#include <QStringList>

#include <tuple>
#include <vector>

namespace etibarix::test {

struct PrintedSlot {
    QByteArray cb, lib1, lib2;
    bool hasBarcode = true;
    int codeSet = 0;
};

struct PrintedSheet {
    QString printer;
    QString fontName;
    std::vector<PrintedSlot> slots;   // index 0 = slot 1
};

class FakeTarget : public labels::PrintJobTarget {
public:
    std::vector<labels::PrintRecord> rows;
    int labelsPerPage = 0;            // slots to snapshot per sheet
    bool failStatement = false;
    bool failOpen = false;
    int cancelAtSheet = 0;            // 1-based sheet whose print is cancelled

    QStringList calls;                // the order of the operations
    std::vector<std::tuple<int, int, double>> fitted;   // sheet, slot, right edge
    std::vector<PrintedSheet> sheets;
    QByteArray statement;
    QString layoutFile;
    bool projectOpen = false;
    bool queryOpen = false;

    void setLayoutFile(const QString &path) override { layoutFile = path; calls << QStringLiteral("setLayoutFile"); }
    void openLayouts() override
    {
        calls << QStringLiteral("openLayouts");
        if (failOpen)
            throw base::Error(QStringLiteral("Invalid Project Format"));
        projectOpen = true;
        m_removed.clear();
        m_codeSets.clear();
    }
    void closeLayouts() override { calls << QStringLiteral("closeLayouts"); projectOpen = false; }
    void setLayoutParam(const QByteArray &name, const QByteArray &value) override
    {
        if (value.isEmpty())
            m_params.remove(name.toLower());
        else
            m_params.insert(name.toLower(), value);
    }
    void setSlotCodeSet(const QByteArray &, int slot, int codeSet) override { m_codeSets[slot] = codeSet; }
    void setTextFonts(const QByteArray &report, int n, const QString &fontName, int) override
    {
        calls << QStringLiteral("setTextFonts %1 %2").arg(QString::fromLatin1(report)).arg(n);
        m_font = fontName;
    }
    void removeEmptySlotBarcodes(const QByteArray &, int first, int last) override
    {
        calls << QStringLiteral("removeEmptySlotBarcodes %1 %2").arg(first).arg(last);
        for (int k = first; k <= last; ++k)
            m_removed.insert(k);
    }
    void blankSlotBarcodes(const QByteArray &, int first, int last) override
    {
        calls << QStringLiteral("blankSlotBarcodes %1 %2").arg(first).arg(last);
        for (int k = first; k <= last; ++k)
            m_blank.insert(k);
    }
    void fitSlotBarcode(const QByteArray &, int slot, double rightMm) override
    {
        fitted.emplace_back(int(sheets.size()) + 1, slot, rightMm);
    }
    void setReportPrinter(const QByteArray &, const QString &printer) override { m_printer = printer; }
    bool runLabelReport(const QByteArray &report) override
    {
        calls << QStringLiteral("runLabelReport ") + QString::fromLatin1(report);
        if (int(sheets.size()) + 1 == cancelAtSheet) {
            cancelAtSheet = 0;
            return false;
        }
        PrintedSheet sheet{m_printer, m_font, {}};
        for (int i = 1; i <= labelsPerPage; ++i) {
            const QByteArray n = QByteArray::number(i);
            sheet.slots.push_back({m_params.value("cb" + n), m_params.value("cbliba" + n),
                                   m_params.value("cblibb" + n), !m_removed.contains(i) && !m_blank.contains(i),
                                   m_codeSets.value(i)});
        }
        m_blank.clear();
        sheets.push_back(sheet);
        return true;
    }
    int openQuery(const QByteArray &s) override
    {
        statement = s;
        calls << QStringLiteral("openQuery");
        if (failStatement)
            throw base::Error(QStringLiteral(" syntax error at line : 1, Column: 1, token: x"));
        queryOpen = true;
        m_row = 0;
        return int(rows.size());
    }
    labels::PrintRecord currentRecord() override { return rows.at(m_row); }
    void nextRecord() override { ++m_row; }
    void firstRecord() override { m_row = 0; }
    std::optional<labels::SlotBarcode> slotBarcode(const QByteArray &, int) override { return std::nullopt; }
    void closeQuery() override { calls << QStringLiteral("closeQuery"); queryOpen = false; }

private:
    QMap<QByteArray, QByteArray> m_params;
    QMap<int, int> m_codeSets;
    QSet<int> m_removed;
    QSet<int> m_blank;   // for the next sheet only
    QString m_printer;
    QString m_font;
    std::size_t m_row = 0;
};

} // namespace etibarix::test
