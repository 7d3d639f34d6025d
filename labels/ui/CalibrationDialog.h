#pragma once
// "Calibrer l'imprimante": the horizontal and vertical offsets of one printer
// (-20.0 to +20.0 mm in steps of 0.1) and a button that prints the test sheet
// of the chosen format on it, moved by the offsets as they stand in the
// dialog, so the user can check a correction before keeping it.

#include "labels/print/Calibration.h"

#include <QDialog>

#include <functional>

class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace etibarix::labels {

class CalibrationDialog : public QDialog {
    Q_OBJECT
public:
    // Prints the test sheet with these offsets; errors are the caller's to show.
    using TestSheetPrinter = std::function<void(PrinterOffset)>;

    explicit CalibrationDialog(QWidget *parent = nullptr);

    // The printer's name (empty: the default printer) and its stored offsets.
    void setPrinter(const QString &name, PrinterOffset offset);
    PrinterOffset offset() const;
    void setTestSheetPrinter(TestSheetPrinter printer) { m_testSheet = std::move(printer); }
    void retranslate();

    QDoubleSpinBox *offsetXBox() const { return m_x; }
    QDoubleSpinBox *offsetYBox() const { return m_y; }
    QPushButton *testSheetButton() const { return m_test; }
    QDialogButtonBox *buttons() const { return m_buttons; }

private:
    QLabel *m_printer = nullptr;
    QLabel *m_hint = nullptr;
    QLabel *m_xLabel = nullptr;
    QLabel *m_yLabel = nullptr;
    QDoubleSpinBox *m_x = nullptr;
    QDoubleSpinBox *m_y = nullptr;
    QPushButton *m_test = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QString m_printerName;
    TestSheetPrinter m_testSheet;
};

} // namespace etibarix::labels
