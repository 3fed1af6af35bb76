// Copying a surface's final spans into its pixel store: the work of CLspDib::Update.
#pragma once

#include <cstddef>

#include "imaging/lsp.h"

namespace lsp {

// Each span of rows 0 to rows - 1 copied to bits + row * pitch + begin.
void CopyRowSpans(unsigned char* bits, SPAN* const* rowSpans, int rows, size_t pitch);

// The same with the portable copy only, whatever the CPU: the reference that the
// per-CPU path is tested against.
void CopyRowSpansPortable(unsigned char* bits, SPAN* const* rowSpans, int rows, size_t pitch);

}  // namespace lsp
