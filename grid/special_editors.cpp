#include "grid/edit_setup.h"

namespace grid {

void RegisterSpecialEditors() {}

}  // namespace grid
