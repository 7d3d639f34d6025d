#include "labels/ui/ReportStatusWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace etibarix::labels {

ReportStatusWindow::ReportStatusWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint),
      m_text(new QLabel(this)), m_cancel(new QPushButton(ReportStatusCancel.toString(), this))
{
    setObjectName(QStringLiteral("ReportStatus"));
    setWindowTitle(ReportStatusTitle.toString());
    setWindowModality(Qt::ApplicationModal);
    m_text->setObjectName(QStringLiteral("labStatus"));
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setMinimumWidth(220);
    m_cancel->setObjectName(QStringLiteral("btCancel"));
    m_cancel->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(14);
    layout->addWidget(m_text);
    layout->addLayout(buttons);

    connect(m_cancel, &QPushButton::clicked, this, &ReportStatusWindow::cancel);
}

void ReportStatusWindow::Start()
{
    m_cancelled = false;
    m_cancel->setEnabled(true);
}

bool ReportStatusWindow::BeginPage(int page)
{
    m_text->setText(reportStatusText(page));
    if (!isVisible()) {
        adjustSize();
        centreOnScreen();
        show();
    }
    Q_EMIT pageShown(page);
    // Paint the page number and deliver a Cancel click, without waiting.
    QApplication::processEvents();
    return !m_cancelled;
}

void ReportStatusWindow::EndPage()
{
    QApplication::processEvents();
}

void ReportStatusWindow::Finish()
{
    hide();
}

SheetStatus ReportStatusWindow::sheetStatus()
{
    return SheetStatus{[this](int page) { return BeginPage(page); }, [this] { EndPage(); }};
}

void ReportStatusWindow::cancel()
{
    m_cancelled = true;
    m_cancel->setEnabled(false);
}

void ReportStatusWindow::closeEvent(QCloseEvent *event)
{
    // Closing the window is a Cancel; the job hides it when it ends.
    cancel();
    event->ignore();
}

void ReportStatusWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape would reject() and hide the window under a running job.
    if (event->key() == Qt::Key_Escape) {
        cancel();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ReportStatusWindow::centreOnScreen()
{
    const QScreen *screen = QApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

} // namespace etibarix::labels
