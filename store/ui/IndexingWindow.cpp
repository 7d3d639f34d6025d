#include "store/ui/IndexingWindow.h"

#include "store/Table.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

namespace etibarix::store {

IndexingWindow::IndexingWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      m_bar(new QLabel(this))
{
    setObjectName(QStringLiteral("Indexing"));
    m_bar->setObjectName(QStringLiteral("labBar"));
    m_bar->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->addWidget(m_bar);
    // The full bar decides the width; shrinking does not move the window.
    m_bar->setMinimumWidth(QFontMetrics(m_bar->font()).horizontalAdvance(QString(BarLength, u'|')) + 2);
}

void IndexingWindow::attach(TableCallbacks &callbacks)
{
    const QPointer<IndexingWindow> self(this);
    callbacks.indexBegin = [self](const QString &title) {
        if (self)
            self->Begin(title);
    };
    callbacks.indexStep = [self](int step) {
        if (self)
            self->Step(step);
    };
    callbacks.indexEnd = [self] {
        if (self)
            self->End();
    };
}

void IndexingWindow::Begin(const QString &title)
{
    setWindowTitle(title);
    m_bar->setText(QString(BarLength, u'|'));
    adjustSize();
    centre();
    show();
    raise();
    // The engine works on without returning to the event loop: paint now.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void IndexingWindow::Step(int step)
{
    const int left = qBound(0, BarLength - step, BarLength);
    if (m_bar->text().size() == left)
        return;
    m_bar->setText(QString(left, u'|'));
    if (isVisible())
        m_bar->repaint();
}

void IndexingWindow::End()
{
    hide();
}

QString IndexingWindow::bar() const
{
    return m_bar->text();
}

void IndexingWindow::centre()
{
    // Over the active window, or over the screen when none is active.
    QRect area;
    if (const QWidget *active = QApplication::activeWindow(); active && active != this)
        area = active->frameGeometry();
    else if (const QScreen *screen = QApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isNull())
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

} // namespace etibarix::store
