// Copies into the fixed-width text fields of the working records.
#pragma once

#include <cstddef>

// Copies `source` into `target` of `width` bytes, terminator included. Text
// that does not fit is cut at a GBK character boundary, never past the
// field. A null source copies as the empty text.
void CopyFixedField(char* target, std::size_t width, const char* source);

template <std::size_t N>
void CopyField(char (&target)[N], const char* source) {
  CopyFixedField(target, N, source);
}
