// The least a Qt program can start with: load Qt Core and create the
// application object. The start-up benchmarks measure etibarix-cli against it,
// so that their figures say what is the program's own and what is the
// machine's.
#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    return 0;
}
