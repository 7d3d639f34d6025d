#include "app/ui/EtibarixApplication.h"

#include "app/Error.h"
#include "app/ui/GeneralErrorHandler.h"

#include <exception>

namespace etibarix::app {

EtibarixApplication::EtibarixApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool EtibarixApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error &error) {
        GeneralErrorHandler::Show(error.text());
    } catch (const std::exception &error) {
        GeneralErrorHandler::Show(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

} // namespace etibarix::app
