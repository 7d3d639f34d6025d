// The desktop program.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Etibarix"));
    QMainWindow window;
    window.setObjectName(QStringLiteral("Fprincip"));
    window.setWindowTitle(QStringLiteral("Etibarix"));
    window.resize(762, 611);
    window.show();
    return QApplication::exec();
}
