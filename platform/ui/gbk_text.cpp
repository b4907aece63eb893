#include "ui/gbk_text.h"

namespace telmar::gbk {

std::size_t CharLength(const std::string& text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  const bool doubleByte = lead >= 0x81 && lead <= 0xFE && pos + 1 < text.size();
  return doubleByte ? 2 : 1;
}

std::string Printable(const std::string& text) {
  std::string out = text;
  for (char& ch : out) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte < 0x20 || byte == 0x7F) ch = ' ';
  }
  return out;
}

std::string ClipToWidth(const std::string& text, std::size_t width) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = end + CharLength(text, end);
    if (next > width) break;
    end = next;
  }
  return text.substr(0, end);
}

std::string FitToWidth(const std::string& text, std::size_t width) {
  std::string out = ClipToWidth(text, width);
  out.append(width - out.size(), ' ');
  return out;
}

namespace {

// Where to end the first row of a line that is wider than `width`.
std::size_t BreakPoint(const std::string& line, std::size_t width) {
  const std::size_t hardBreak = ClipToWidth(line, width).size();
  const std::size_t blank = line.rfind(' ', hardBreak);
  const bool blankIsLate = blank != std::string::npos && blank > hardBreak / 2;
  if (blankIsLate) return blank + 1;
  // A column too narrow for one character still takes that character.
  return hardBreak > 0 ? hardBreak : CharLength(line, 0);
}

void WrapLine(std::string line, std::size_t width, std::vector<std::string>& rows) {
  while (line.size() > width) {
    const std::size_t cut = BreakPoint(line, width);
    std::string row = line.substr(0, cut);
    while (!row.empty() && row.back() == ' ') row.pop_back();
    rows.push_back(row);
    line.erase(0, cut);
  }
  rows.push_back(line);
}

}  // namespace

std::vector<std::string> Wrap(const std::string& text, std::size_t width) {
  std::vector<std::string> rows;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    WrapLine(Printable(text.substr(start, end - start)), width, rows);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return rows;
}

}  // namespace telmar::gbk
