#pragma once
// The print engine's "Report Status" window: centred on the screen while
// sheets print, it shows "Printing page %p" and a "Cancel" button. It is
// application-modal but shown without a loop of its own: the job keeps
// running in the click handler and lets the window react between sheets, so
// Cancel (or closing the window) stops the job before its next sheet while
// nothing else of the program can be clicked meanwhile.

#include "labels/print/SheetSink.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace etibarix::labels {

class ReportStatusWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReportStatusWindow(QWidget *parent = nullptr);

    // Starts a job: forgets an earlier Cancel.
    void Start();
    // A sheet is about to print as page `page`: shows the window with the
    // page number and lets pending events run. False when the user cancelled.
    bool BeginPage(int page);
    // The sheet went off: lets pending events run (a Cancel click lands).
    void EndPage();
    // The job is over: hides the window.
    void Finish();
    bool Cancelled() const { return m_cancelled; }

    // The hook a SheetSink calls around every sheet.
    SheetStatus sheetStatus();

    QPushButton *cancelButton() const { return m_cancel; }

Q_SIGNALS:
    // Emitted once the window shows page `page`, before the cancel check.
    void pageShown(int page);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void cancel();
    void centreOnScreen();

    QLabel *m_text;
    QPushButton *m_cancel;
    bool m_cancelled = false;
};

} // namespace etibarix::labels
