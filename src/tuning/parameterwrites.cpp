#include "parameterwrites.h"

namespace kdx {

void ParameterWrites::testWrite(int) {}

void ParameterWrites::saveWrite(int) {}

void ParameterWrites::Command27_Click() {}

void ParameterWrites::Command20_Click() {}

} // namespace kdx
