#include "app/ui/EtibarixApplication.h"

#include "base/Error.h"
#include "base/ui/GeneralErrorHandler.h"

#include <exception>

namespace etibarix::app {

EtibarixApplication::EtibarixApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool EtibarixApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const base::Error &error) {
        ui::GeneralErrorHandler::Show(error.text());
    } catch (const std::exception &error) {
        ui::GeneralErrorHandler::Show(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

} // namespace etibarix::app
