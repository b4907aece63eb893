#include "data/FixedField.h"

#include <cstring>

namespace {
// A GBK lead byte takes the byte after it into the same character.
bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// Length of the longest prefix of `text` that ends on a character boundary
// and has at most `room` bytes.
std::size_t FittingLength(const char* text, std::size_t room) {
  std::size_t length = 0;
  while (text[length] != '\0') {
    const std::size_t step = IsGbkLeadByte(static_cast<unsigned char>(text[length])) && text[length + 1] ? 2 : 1;
    if (length + step > room) break;
    length += step;
  }
  return length;
}
}  // namespace

void CopyFixedField(char* target, std::size_t width, const char* source) {
  if (width == 0) return;
  const std::size_t length = source ? FittingLength(source, width - 1) : 0;
  if (length > 0) std::memcpy(target, source, length);
  target[length] = '\0';
}
