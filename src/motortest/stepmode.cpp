#include "stepmode.h"

namespace kdx {

void StepMode::Check3_Click() {}
void StepMode::Timer2_Timer() {}
void StepMode::Text9_Change() {}
void StepMode::txtEncoder_Change() {}
void StepMode::HScroll11_Change() {}
void StepMode::Command33_Click() {}

} // namespace kdx
