// The managed row path colour management installs by default.
#pragma once

#include "colour/managed_rows.h"

namespace colour::detail {

ManagedRowPath& CmsManagedRowPath();

}  // namespace colour::detail
