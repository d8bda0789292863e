// Must not compile: a layer above platform/ that includes a Qt header. The tests build it and
// expect the compiler to miss the header (see tests/CMakeLists.txt).
#include LAYER_HEADER

#include <QString>

QString ProbeText() { return QString("above the platform"); }
