// The print tests' real print queue, built into this executable too.
#include "tests/print/CupsQueue.cpp"
