#include "UiTestSupport.h"

#include <QDir>
#include <QPixmap>

namespace etibarix::test {

ModalAnswer::ModalAnswer(std::function<void(QWidget *)> answer) : m_answer(std::move(answer))
{
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
    m_timer.start();
}

ModalAnswer::~ModalAnswer()
{
    m_timer.stop();
}

void ModalAnswer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || modal == m_seen)
        return;
    m_seen = modal;
    ++m_count;
    m_lastTitle = modal->windowTitle();
    if (auto *box = qobject_cast<QMessageBox *>(modal))
        m_lastText = box->text();
    m_answer(modal);
    m_seen = nullptr;
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
