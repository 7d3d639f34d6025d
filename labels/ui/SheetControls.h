#pragma once
// The print tab's controls for real sheets: "Start at label" with its spin
// box (1 to the labels of the chosen format), "Shrink barcodes that are too
// wide", the printer calibration button and the buttons that create, edit and
// delete the user's own formats. The print tab places the widgets; this class
// owns their behaviour and texts.

#include "labels/formats/SheetFormat.h"
#include "labels/print/Calibration.h"
#include "labels/print/PrintJob.h"

#include <QObject>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QWidget;

namespace etibarix::labels {

class LabelFormats;

class SheetControls : public QObject {
    Q_OBJECT
public:
    // Prints the test sheet of format `entry` on `printer` moved by `offset`.
    // Errors are thrown as base::Error.
    using TestSheetPrinter = std::function<void(int entry, const QString &printer, PrinterOffset offset)>;
    // Shows an error text to the user.
    using ErrorReporter = std::function<void(const QString &text)>;
    // Asks a Yes/No question; true for Yes.
    using Question = std::function<bool(const QString &text)>;

    // `formats` fills `formatCombo`; `printerCombo` names the printer to
    // calibrate (none selected: the default printer).
    SheetControls(QWidget *parent, LabelFormats &formats, QComboBox &formatCombo, QComboBox &printerCombo);

    void setTestSheetPrinter(TestSheetPrinter printer) { m_testSheet = std::move(printer); }
    void setErrorReporter(ErrorReporter reporter) { m_error = std::move(reporter); }
    void setQuestion(Question question) { m_question = std::move(question); }

    // The first slot to fill (1-based) and the shrink choice, as the job reads them.
    int startSlot() const;
    bool shrinkToFit() const;
    // Puts the start slot, the shrink choice and, for a format of the user's
    // own, its geometry into a job's settings (formatEntry already chosen).
    void applyTo(PrintJobSettings &settings) const;
    // After a job: a job that ended well brings the start back to 1.
    void jobFinished(bool ok);
    // Follows the chosen format: the spin box's maximum, the edit and delete
    // buttons (for custom formats only).
    void formatChanged();
    void retranslate();

    // The buttons' handlers (public for the tests).
    void calibrateClick();
    void newFormatClick();
    void editFormatClick();
    void deleteFormatClick();

    QLabel *startCaption() const { return m_startCaption; }
    QSpinBox *startBox() const { return m_start; }
    QCheckBox *fitBox() const { return m_fit; }
    QPushButton *calibrateButton() const { return m_calibrate; }
    QPushButton *newButton() const { return m_new; }
    QPushButton *editButton() const { return m_edit; }
    QPushButton *deleteButton() const { return m_delete; }

Q_SIGNALS:
    // The format list was rebuilt after a format was saved or deleted.
    void formatsChanged();

private:
    int selectedEntry() const;
    QString printerName() const;
    // Saves the formats, rebuilds the list and selects `select` (an entry).
    bool saveFormats(const std::vector<SheetFormat> &formats, int select);
    void report(const QString &text) const;

    QWidget *m_parent;
    LabelFormats &m_formats;
    QComboBox &m_formatCombo;
    QComboBox &m_printerCombo;
    QLabel *m_startCaption;
    QSpinBox *m_start;
    QCheckBox *m_fit;
    QPushButton *m_calibrate;
    QPushButton *m_new;
    QPushButton *m_edit;
    QPushButton *m_delete;
    TestSheetPrinter m_testSheet;
    ErrorReporter m_error;
    Question m_question;
};

} // namespace etibarix::labels
