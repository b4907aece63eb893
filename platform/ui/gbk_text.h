// Measuring and cutting GBK text for fixed-width screens. In GBK a character
// is one byte (ASCII, one column) or two bytes (lead byte 0x81-0xFE, two
// columns), so the byte length of a line is its display width.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace telmar::gbk {

// Bytes taken by the character that starts at `pos`.
std::size_t CharLength(const std::string& text, std::size_t pos);

// Control bytes (tab, carriage return, ...) become blanks, so that a line
// occupies exactly its byte length on screen.
std::string Printable(const std::string& text);

// The longest prefix of `text` that fits `width` columns without cutting a
// double-byte character in half.
std::string ClipToWidth(const std::string& text, std::size_t width);

// `text` clipped or padded with blanks to exactly `width` columns.
std::string FitToWidth(const std::string& text, std::size_t width);

// Splits at line feeds and wraps each line to at most `width` columns,
// preferring to break after a blank.
std::vector<std::string> Wrap(const std::string& text, std::size_t width);

}  // namespace telmar::gbk
