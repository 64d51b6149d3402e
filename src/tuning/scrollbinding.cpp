#include "scrollbinding.h"

namespace kdx {

void ScrollBinding::scrollChanged(int) {}

} // namespace kdx
