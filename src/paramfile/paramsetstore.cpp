#include "paramsetstore.h"

namespace kdx {

void ParamSetStore::Command29_Click() {}

void ParamSetStore::Command37_Click() {}

void ParamSetStore::Command38_Click() {}

} // namespace kdx
