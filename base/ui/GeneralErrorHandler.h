#pragma once
// The general error handler: an error that no handler of the program catches
// ends the event handler in which it arose and is shown in a message box; the
// program then goes on with the next event.

#include <QString>
#include <QWidget>

#include <functional>

namespace etibarix::ui {

class GeneralErrorHandler {
public:
    // The text as the box shows it: a period is appended when the text is
    // not empty and its last character's code is above that of the period.
    static QString BoxText(const QString &text);

    // Message box with the text, caption "Etibarix", the stop icon and OK.
    static void Show(const QString &text, QWidget *parent = nullptr);

    // Runs one event handler; any error it raises goes to Show().
    static void Run(const std::function<void()> &handler, QWidget *parent = nullptr);
};

} // namespace etibarix::ui
