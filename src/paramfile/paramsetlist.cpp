#include "paramsetlist.h"

namespace kdx {

void ParamSetList::Command36_Click() {}

void ParamSetList::List1_Click() {}

void ParamSetList::List1_DblClick() {}

void ParamSetList::Command30_Click() {}

void ParamSetList::Command40_Click() {}

void ParamSetList::Command41_Click() {}

} // namespace kdx
