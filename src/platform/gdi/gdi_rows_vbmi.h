// Row paths for CPUs with AVX-512 VBMI, ahead of the portable ones in the row table:
// empty where the CPU or the toolchain lacks them.
#pragma once

#include <span>

#include "platform/gdi/gdi_rows.h"

namespace kvgdi {

std::span<const RowPath> VbmiRowPaths();

}  // namespace kvgdi
