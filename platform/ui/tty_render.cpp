#include "ui/tty_render.h"

#include <algorithm>
#include <vector>

#include "telmar/encoding.h"
#include "ui/gbk_text.h"

namespace telmar {
namespace {

const char kReset[] = "\x1b[0m";
const char kReverse[] = "\x1b[7m";
const char kFocused[] = "\x1b[1;7m";
const char kProgramCaption[] = "TELMAR";
const char kDialogHint[] = "Enter = OK    Esc = Cancel";
const char kOkButton[] = "[ OK ]";
const int kWidestBoxText = 60;

struct Rect {
  int row;
  int col;
  int height;
  int width;
};

// Positioned text, with its origin somewhere on the screen.
class Canvas {
 public:
  Canvas(std::string& out, int top, int left) : m_out(out), m_top(top), m_left(left) {}

  Canvas Inner(int rows, int cols) const { return Canvas(m_out, m_top + rows, m_left + cols); }

  void Put(int row, int col, const std::string& gbk, const char* attributes = "") {
    m_out += "\x1b[" + std::to_string(m_top + row + 1) + ";" + std::to_string(m_left + col + 1) + "H";
    m_out += attributes;
    m_out += GbkToUtf8Lossy(gbk);
    if (*attributes) m_out += kReset;
  }

 private:
  std::string& m_out;
  int m_top;
  int m_left;
};

int Width(const std::string& gbk) { return static_cast<int>(gbk.size()); }

std::string Dashes(int count) { return std::string(static_cast<std::size_t>(std::max(count, 0)), '-'); }

// A frame of + - |, with `label` let into its top edge.
void DrawFrame(Canvas& canvas, const Rect& rect, const std::string& label) {
  const int inner = rect.width - 2;
  std::string top = gbk::ClipToWidth(label.empty() ? "" : "-" + label, static_cast<std::size_t>(inner));
  top += Dashes(inner - Width(top));
  canvas.Put(rect.row, rect.col, "+" + top + "+");
  for (int row = rect.row + 1; row < rect.row + rect.height - 1; ++row) {
    canvas.Put(row, rect.col, "|");
    canvas.Put(row, rect.col + rect.width - 1, "|");
  }
  canvas.Put(rect.row + rect.height - 1, rect.col, "+" + Dashes(inner) + "+");
}

// A framed window with a title bar; returns the canvas of its client area.
Canvas DrawWindow(Canvas& screen, const Rect& rect, const std::string& title) {
  DrawFrame(screen, rect, "");
  screen.Put(rect.row + 1, rect.col + 1, gbk::FitToWidth(" " + gbk::Printable(title), rect.width - 2), kReverse);
  screen.Put(rect.row + 2, rect.col, "+" + Dashes(rect.width - 2) + "+");
  return screen.Inner(rect.row + 3, rect.col + 1);
}

// Frame, title bar and separator take three rows above the client area and
// one below; the sides one column each.
Rect CentredWindow(int clientRows, int clientCols, ScreenSize screen, int rowsBelow) {
  const int height = clientRows + 4;
  const int width = clientCols + 2;
  return {std::max(0, (screen.rows - height - rowsBelow) / 2), std::max(0, (screen.cols - width) / 2), height,
          width};
}

std::string CentredIn(const std::string& text, int width) {
  const int before = std::max(0, (width - Width(text)) / 2);
  return std::string(static_cast<std::size_t>(before), ' ') + text;
}

// --- dialogs ---------------------------------------------------------------

int ScaleCol(int x) { return (4 * x + 5) / 10; }
int ScaleRow(int y) { return (y + 4) / 8; }
int CentreRow(int y, int cy) { return (2 * y + cy + 8) / 16; }

int ButtonKind(const DialogItemTemplate& item) { return static_cast<int>(item.style & 0x0Fu); }

bool IsGroupBox(const DialogItemTemplate& item) {
  return item.controlClass == DialogControlClass::Button && ButtonKind(item) == BS_GROUPBOX;
}

void DrawGroupBox(Canvas& client, const DialogItemTemplate& item, const std::string& text) {
  const int top = ScaleRow(item.y);
  const Rect rect{top, ScaleCol(item.x), ScaleRow(item.y + item.cy) - top + 1,
                  ScaleCol(item.x + item.cx) - ScaleCol(item.x)};
  DrawFrame(client, rect, gbk::Printable(text));
}

void DrawControl(Canvas& client, const DialogItemTemplate& item, const std::string& text) {
  const int row = CentreRow(item.y, item.cy);
  const int col = ScaleCol(item.x);
  const int width = ScaleCol(item.x + item.cx) - col;
  const std::string shown = gbk::Printable(text);
  switch (item.controlClass) {
    case DialogControlClass::Static:
      client.Put(row, col, gbk::ClipToWidth(shown, static_cast<std::size_t>(width)));
      break;
    case DialogControlClass::Edit:
      client.Put(row, col, "[" + gbk::FitToWidth(shown, static_cast<std::size_t>(std::max(width - 2, 0))) + "]");
      break;
    case DialogControlClass::Button: {
      const bool isDefault = ButtonKind(item) == BS_DEFPUSHBUTTON;
      const std::string face = isDefault ? "[[ " + shown + " ]]" : "[ " + shown + " ]";
      const int indent = std::max(0, (width - Width(face)) / 2);
      client.Put(row, col + indent, face, isDefault ? kFocused : "");
      break;
    }
  }
}

// --- message boxes -----------------------------------------------------------

// The text rows of a box: the icon word before the first, the rest indented
// under it.
std::vector<std::string> BoxLines(const MessageBoxRequest& request, int widest) {
  const std::string icon = IconWord(request.type);
  const std::string prefix = icon.empty() ? "" : "[" + icon + "] ";
  const std::string indent(prefix.size(), ' ');
  std::vector<std::string> lines =
      gbk::Wrap(request.text, static_cast<std::size_t>(std::max(widest - Width(prefix), 2)));
  for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = (i == 0 ? prefix : indent) + lines[i];
  return lines;
}

}  // namespace

std::string BoxCaption(const MessageBoxRequest& request) {
  if (!request.caption.empty()) return request.caption;
  return request.kind == BoxKind::MessageBoxA ? "Error" : kProgramCaption;
}

std::string IconWord(UINT type) {
  switch (type & 0xF0u) {
    case MB_ICONHAND: return "error";
    case MB_ICONQUESTION: return "question";
    case MB_ICONEXCLAMATION: return "warning";
    case MB_ICONASTERISK: return "information";
    default: return "";
  }
}

std::string RenderMessageBox(const MessageBoxRequest& request, ScreenSize screen) {
  const std::string caption = gbk::Printable(BoxCaption(request));
  std::vector<std::string> lines = BoxLines(request, std::clamp(screen.cols - 8, 10, kWidestBoxText));
  // Blank, text, blank, button, blank inside the frame.
  const int roomForText = std::max(1, screen.rows - 8);
  if (static_cast<int>(lines.size()) > roomForText) lines.resize(static_cast<std::size_t>(roomForText));
  int contentWidth = std::max(Width(caption) + 1, Width(kOkButton));
  for (const std::string& line : lines) contentWidth = std::max(contentWidth, Width(line));
  const int textRows = static_cast<int>(lines.size());

  std::string out = "\x1b[2J";
  Canvas screenCanvas(out, 0, 0);
  const Rect window = CentredWindow(textRows + 4, contentWidth + 4, screen, 0);
  Canvas client = DrawWindow(screenCanvas, window, caption);
  for (int i = 0; i < textRows; ++i) client.Put(1 + i, 2, lines[static_cast<std::size_t>(i)]);
  const int buttonCol = (contentWidth + 4 - Width(kOkButton)) / 2;
  client.Put(textRows + 2, buttonCol, kOkButton, kFocused);
  return out;
}

std::string RenderDialog(const DialogView& view, ScreenSize screen) {
  const DialogTemplate& dialog = *view.dialogTemplate;
  std::string out = "\x1b[2J";
  Canvas screenCanvas(out, 0, 0);
  const int clientRows = ScaleRow(dialog.cy);
  const Rect window = CentredWindow(clientRows, ScaleCol(dialog.cx), screen, 1);
  Canvas client = DrawWindow(screenCanvas, window, view.title);
  // Group boxes first: the controls they surround are drawn over them.
  for (int i = 0; i < dialog.itemCount; ++i) {
    if (IsGroupBox(dialog.items[i])) DrawGroupBox(client, dialog.items[i], view.itemTexts.at(static_cast<std::size_t>(i)));
  }
  for (int i = 0; i < dialog.itemCount; ++i) {
    if (!IsGroupBox(dialog.items[i])) DrawControl(client, dialog.items[i], view.itemTexts.at(static_cast<std::size_t>(i)));
  }
  const int hintRow = window.row + window.height;
  if (hintRow < screen.rows) screenCanvas.Put(hintRow, window.col, CentredIn(kDialogHint, window.width));
  return out;
}

std::string PlainMessageBox(const MessageBoxRequest& request) {
  const std::string icon = IconWord(request.type);
  return GbkToUtf8Lossy(BoxCaption(request)) + ": " + (icon.empty() ? "" : "[" + icon + "] ") +
         GbkToUtf8Lossy(request.text) + "\n";
}

}  // namespace telmar
