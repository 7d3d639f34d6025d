#pragma once
// The application object of the desktop program. Besides the handlers that
// guard themselves, it catches what escapes an event's delivery and hands it
// to the general error handler, so no error ends the program.

#include <QApplication>

namespace etibarix::app {

class EtibarixApplication : public QApplication {
    Q_OBJECT
public:
    EtibarixApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace etibarix::app
