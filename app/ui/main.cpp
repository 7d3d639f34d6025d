// The desktop program: the application object, the windows created once and
// hidden, then the message loop, which shows the main window. Closing the
// main window ends the program.

#include "app/ui/EtibarixApplication.h"
#include "app/ui/ProgramWindows.h"
#include "app/ui/MainWindow.h"

int main(int argc, char **argv)
{
    etibarix::app::EtibarixApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Etibarix"));
    etibarix::app::ProgramWindows windows;
    windows.Fprincip().show();
    // The start-up work runs at the first activation: ask for it rather than
    // wait for the window manager to grant it.
    windows.Fprincip().activateWindow();
    return QApplication::exec();
}
