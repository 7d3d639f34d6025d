#include "tests/support/UiTestSupport.h"

#include <QDir>
#include <QPixmap>

namespace etibarix::test {

ModalAnswer::ModalAnswer(std::function<void(QWidget *)> answer) : m_answer(std::move(answer))
{
    schedule();
}

ModalAnswer::~ModalAnswer() = default;

void ModalAnswer::schedule()
{
    QTimer::singleShot(10, m_context.get(), [this] { poll(); });
}

void ModalAnswer::poll()
{
    schedule();
    QWidget *modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || m_answering.contains(modal))
        return;
    m_answering.append(modal);
    ++m_count;
    m_lastTitle = modal->windowTitle();
    if (auto *box = qobject_cast<QMessageBox *>(modal))
        m_lastText = box->text();
    m_answer(modal);
    m_answering.removeOne(modal);
}

void pressButton(QWidget *modal, QMessageBox::StandardButton button)
{
    auto *box = qobject_cast<QMessageBox *>(modal);
    if (box == nullptr) {
        modal->close();
        return;
    }
    if (QAbstractButton *b = box->button(button))
        b->click();
    else
        box->close();
}

void saveShot(QWidget *widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("ETIBARIX_SHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    widget->grab().save(dir + u'/' + name + QStringLiteral(".png"));
}

} // namespace etibarix::test
