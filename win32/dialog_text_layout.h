// A dialog drawn as text: frames, group boxes, check marks, lists and fields
// in a grid of character cells. The arrangement follows the template's
// rows and columns (controls side by side stay side by side, group boxes
// stacked in columns stay so), while every text is shown whole.
#ifndef WIN32_DIALOG_TEXT_LAYOUT_H
#define WIN32_DIALOG_TEXT_LAYOUT_H

#include <cstdint>
#include <string>
#include <vector>

#include "win32/windows.h"

namespace win32 {

enum CellStyle : uint8_t {
  kCellPlain = 0,
  kCellGreyed = 1,     // a disabled control
  kCellFocused = 2,    // the control with the focus
  kCellUnderline = 4,  // a mnemonic letter
  kCellBold = 8,       // captions and the default button
};

struct TextCell {
  char ch = ' ';
  uint8_t style = kCellPlain;
};

struct TextCanvas {
  int width = 0;
  int height = 0;
  std::vector<TextCell> cells;  // row by row
  int focus_row = -1, focus_col = -1;    // top left of the focused control
  int cursor_row = -1, cursor_col = -1;  // caret of a focused field, -1 when none

  TextCanvas() = default;
  TextCanvas(int w, int h) : width(w), height(h), cells(static_cast<size_t>(w) * h) {}
  TextCell &At(int row, int col) { return cells[static_cast<size_t>(row) * width + col]; }
  // Writes text from (row, col); what falls outside is dropped.
  void Put(int row, int col, const std::string &text, uint8_t style);
  // Copies another canvas with its top left at (row, col).
  void Blit(const TextCanvas &other, int row, int col);
  std::string Line(int row) const;  // the characters of one row
};

// The window (a dialog, message box or prompt) with its frame and caption.
TextCanvas RenderWindow(HWND window);

// Lines of at most width characters, broken between words where possible;
// "\n" starts a new line.
std::vector<std::string> WrapText(const std::string &text, size_t width);

}  // namespace win32

#endif
