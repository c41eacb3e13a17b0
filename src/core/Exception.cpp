#include "core/Exception.h"

#include "core/StrUtils.h"

namespace Vdei {

void ThrowListIndexError(int index) {
  throw EListError(Format("List index out of bounds (%d)", index));
}

}  // namespace Vdei
