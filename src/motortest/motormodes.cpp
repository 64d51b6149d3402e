#include "motormodes.h"

namespace kdx {

void MotorModes::Command34_Click() {}
void MotorModes::Command31_Click() {}
void MotorModes::Command32_Click() {}
void MotorModes::HScroll2_Change() {}
void MotorModes::Label13_Change() {}
void MotorModes::Command42_Click() {}

} // namespace kdx
