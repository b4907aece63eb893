// What the terminal user interface draws: message boxes and dialogs as
// framed boxes of text, made into the bytes for a UTF-8 terminal.
#pragma once

#include <string>

#include "telmar/ui.h"
#include "ui/tty_terminal.h"

namespace telmar {

// The caption a box shows when it was given none (GBK).
std::string BoxCaption(const MessageBoxRequest& request);

// "error", "question", "warning", "information", or empty for no icon.
std::string IconWord(UINT type);

// The box in the middle of a cleared screen, its OK button focused.
std::string RenderMessageBox(const MessageBoxRequest& request, ScreenSize screen);

// The dialog in the middle of a cleared screen. Dialog units are scaled to
// character cells: a column is 2.5 units across, a row 8 units down, so the
// 191 x 132 account dialog takes 76 x 17 cells inside its frame. Single-row
// controls sit on the row of their vertical centre.
std::string RenderDialog(const DialogView& view, ScreenSize screen);

// The box as one line of UTF-8 text, for when no terminal is there.
std::string PlainMessageBox(const MessageBoxRequest& request);

}  // namespace telmar
