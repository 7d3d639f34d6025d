#pragma once
// Helpers of the window tests: answering message boxes and modal windows
// that a handler opens, and saving pictures of windows for a look.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <QList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace etibarix::test {

// Watches for the next modal window and hands it to the answer, once it is
// shown; the answer must close it (or the test hangs until the timeout
// answer below closes it).
class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(QWidget *)> answer);
    ~ModalAnswer();
    ModalAnswer(const ModalAnswer &) = delete;
    ModalAnswer &operator=(const ModalAnswer &) = delete;
    // How many modal windows were answered, and what the last one said.
    int count() const { return m_count; }
    QString lastText() const { return m_lastText; }
    QString lastTitle() const { return m_lastTitle; }

private:
    void poll();
    void schedule();
    std::function<void(QWidget *)> m_answer;
    // Owns the pending polls: one single-shot timer each, so that a poll can
    // run again inside the nested event loop of a window being answered.
    std::unique_ptr<QObject> m_context = std::make_unique<QObject>();
    QList<QWidget *> m_answering;
    int m_count = 0;
    QString m_lastText;
    QString m_lastTitle;
};

// Presses the message box button of the given role.
void pressButton(QWidget *modal, QMessageBox::StandardButton button);

// Saves widget->grab() as <ETIBARIX_SHOT_DIR>/<name>.png when that variable is set.
void saveShot(QWidget *widget, const QString &name);

} // namespace etibarix::test
