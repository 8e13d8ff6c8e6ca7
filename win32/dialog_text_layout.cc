#include "win32/dialog_text_layout.h"

#include <algorithm>
#include <memory>

#include "win32/dialog_runtime.h"

namespace win32 {
namespace {

constexpr int kClosedListHeight = 12;  // a combo box's template height includes its open list
constexpr int kColumnGap = 1;

struct Size {
  int rows = 0;
  int cols = 0;
};

// A control, or the dialog's client area (control null), in the layout tree.
struct Node {
  Control *control = nullptr;
  int x = 0, y = 0, w = 0, h = 0;  // dialog units
  std::vector<Node *> children;    // controls inside a group box
  int row = 0, col = 0;            // cells, relative to the parent's content
  Size size;
  std::vector<std::string> lines;  // statics: the wrapped text
};

bool IsGroup(const Node &n) { return n.control && n.control->tmpl.kind == ControlKind::kGroupBox; }

int Area(const Node &n) { return n.w * n.h; }

bool ContainsCentre(const Node &outer, const Node &inner) {
  int cx = inner.x + inner.w / 2, cy = inner.y + inner.h / 2;
  return cx >= outer.x && cx < outer.x + outer.w && cy >= outer.y && cy < outer.y + outer.h;
}

// Each control goes into the smallest group box around its centre.
void BuildTree(const Dialog &d, std::vector<std::unique_ptr<Node>> &nodes, Node *root) {
  for (auto &c : d.controls) {
    auto n = std::make_unique<Node>();
    n->control = c.get();
    n->x = c->tmpl.x, n->y = c->tmpl.y, n->w = c->tmpl.width, n->h = c->tmpl.height;
    if (c->tmpl.kind == ControlKind::kComboBox) n->h = std::min(n->h, kClosedListHeight);
    nodes.push_back(std::move(n));
  }
  for (auto &n : nodes) {
    Node *parent = root;
    for (auto &g : nodes) {
      if (g == n || !IsGroup(*g) || Area(*g) <= Area(*n) || !ContainsCentre(*g, *n)) continue;
      if (parent == root || Area(*g) < Area(*parent)) parent = g.get();
    }
    parent->children.push_back(n.get());
  }
}

// ---- Measuring ---------------------------------------------------------------

int LongestLine(const std::vector<std::string> &lines) {
  size_t longest = 0;
  for (const std::string &line : lines) longest = std::max(longest, line.size());
  return static_cast<int>(longest);
}

Size MeasureStatic(Node &n) {
  const ControlTemplate &tmpl = n.control->tmpl;
  std::string shown = DisplayText(n.control->text);
  size_t allowed = static_cast<size_t>(std::max(1, n.h / 8));
  size_t width = static_cast<size_t>(std::max(1, n.w / 4));
  n.lines = WrapText(shown, width);
  // A text longer than its place widens it rather than losing lines.
  while (n.lines.size() > allowed && width < shown.size()) n.lines = WrapText(shown, ++width);
  int cols = LongestLine(n.lines);
  if (tmpl.align != TextAlign::kLeft) cols = std::max(cols, n.w / 4);
  return {static_cast<int>(n.lines.size()), cols};
}

int ListWidth(const Control &c) {
  return std::max({c.tmpl.width / 4 - 3, LongestLine(c.items), 4});
}

Size MeasureLeaf(Node &n) {
  const Control &c = *n.control;
  int shown = static_cast<int>(DisplayText(c.text).size());
  switch (c.tmpl.kind) {
    case ControlKind::kStatic: return MeasureStatic(n);
    case ControlKind::kPushButton:
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton: return {1, shown + 4};
    case ControlKind::kEdit: return {1, std::max(n.w / 4, 4) + 2};
    case ControlKind::kComboBox: return {1, ListWidth(c) + 4};
    default: return {1, shown};
  }
}

Size Arrange(std::vector<Node *> items, int row, int col);

void Measure(Node &n) {
  if (!n.control || IsGroup(n)) {
    for (Node *child : n.children) Measure(*child);
    Size content = Arrange(n.children, 0, 0);
    n.size = content;
    if (IsGroup(n)) {
      int title = static_cast<int>(DisplayText(n.control->text).size());
      n.size = {content.rows + 2, std::max(content.cols, title + 4) + 4};
    }
    return;
  }
  n.size = MeasureLeaf(n);
}

// ---- Arranging ---------------------------------------------------------------

// Splits items into runs that overlap along one axis (y for rows, x for columns).
std::vector<std::vector<Node *>> Runs(std::vector<Node *> items, bool vertical) {
  auto start = [vertical](const Node *n) { return vertical ? n->y : n->x; };
  auto end = [vertical](const Node *n) { return vertical ? n->y + n->h : n->x + n->w; };
  std::stable_sort(items.begin(), items.end(), [&](Node *a, Node *b) { return start(a) < start(b); });
  std::vector<std::vector<Node *>> runs;
  int run_end = 0;
  for (Node *n : items) {
    // One unit of slack: neighbours drawn edge to edge are not overlapping.
    if (runs.empty() || start(n) >= run_end - 1) {
      runs.emplace_back();
      run_end = end(n);
    }
    runs.back().push_back(n);
    run_end = std::max(run_end, end(n));
  }
  return runs;
}

Size Stack(const std::vector<std::vector<Node *>> &runs, int row, int col) {
  Size total;
  for (const auto &run : runs) {
    Size s = Arrange(run, row + total.rows, col);
    total.rows += s.rows;
    total.cols = std::max(total.cols, s.cols);
  }
  return total;
}

Size SideBySide(const std::vector<std::vector<Node *>> &runs, int row, int col) {
  Size total;
  for (const auto &run : runs) {
    Size s = Arrange(run, row, col + total.cols);
    total.cols += s.cols + kColumnGap;
    total.rows = std::max(total.rows, s.rows);
  }
  total.cols -= kColumnGap;
  return total;
}

Size Arrange(std::vector<Node *> items, int row, int col) {
  if (items.empty()) return {};
  if (items.size() == 1) {
    items[0]->row = row, items[0]->col = col;
    return items[0]->size;
  }
  auto rows = Runs(items, true);
  if (rows.size() > 1) return Stack(rows, row, col);
  auto columns = Runs(items, false);
  if (columns.size() > 1) return SideBySide(columns, row, col);
  // Overlapping both ways: one under the other, in reading order.
  std::stable_sort(items.begin(), items.end(), [](Node *a, Node *b) { return a->y != b->y ? a->y < b->y : a->x < b->x; });
  std::vector<std::vector<Node *>> singles;
  for (Node *n : items) singles.push_back({n});
  return Stack(singles, row, col);
}

// ---- Painting ----------------------------------------------------------------

void Frame(TextCanvas &canvas, int row, int col, Size size, const std::string &title, uint8_t title_style) {
  int right = col + size.cols - 1, bottom = row + size.rows - 1;
  canvas.Put(row, col, "+" + std::string(size.cols - 2, '-') + "+", kCellPlain);
  canvas.Put(bottom, col, "+" + std::string(size.cols - 2, '-') + "+", kCellPlain);
  for (int r = row + 1; r < bottom; ++r) {
    canvas.Put(r, col, "|", kCellPlain);
    canvas.Put(r, right, "|", kCellPlain);
  }
  if (!title.empty()) canvas.Put(row, col + 2, " " + title + " ", title_style);
}

std::string Padded(const std::string &text, size_t width) {
  return text.size() >= width ? text.substr(0, width) : text + std::string(width - text.size(), ' ');
}

void PaintField(TextCanvas &canvas, const Control &c, int row, int col, int width, uint8_t style) {
  size_t inner = static_cast<size_t>(width - 2);
  bool focused = c.dialog->focus == &c;
  size_t first = focused && c.caret >= inner ? c.caret - inner + 1 : 0;
  canvas.Put(row, col, "[" + Padded(c.text.substr(std::min(first, c.text.size())), inner) + "]", style);
  if (focused && !c.tmpl.read_only) {
    canvas.cursor_row = row;
    canvas.cursor_col = col + 1 + static_cast<int>(c.caret - first);
  }
}

std::string Marked(const Control &c, const std::string &shown) {
  bool on = c.check == BST_CHECKED;
  if (c.tmpl.kind == ControlKind::kCheckBox) return std::string(on ? "[x] " : "[ ] ") + shown;
  return std::string(on ? "(*) " : "( ) ") + shown;
}

void PaintStatic(TextCanvas &canvas, const Node &n, int row, int col, uint8_t style) {
  for (size_t i = 0; i < n.lines.size(); ++i) {
    int free = n.size.cols - static_cast<int>(n.lines[i].size());
    int indent = n.control->tmpl.align == TextAlign::kCenter ? free / 2
                 : n.control->tmpl.align == TextAlign::kRight ? free : 0;
    canvas.Put(row + static_cast<int>(i), col + indent, n.lines[i], style);
  }
}

void PaintLeaf(TextCanvas &canvas, const Node &n, int row, int col) {
  const Control &c = *n.control;
  bool focused = c.dialog->focus == &c;
  uint8_t style = (c.enabled ? kCellPlain : kCellGreyed) | (focused ? kCellFocused : kCellPlain);
  if (focused) canvas.focus_row = row, canvas.focus_col = col;
  int mnemonic = -1;
  std::string shown = DisplayText(c.text, &mnemonic);
  int text_col = col;
  switch (c.tmpl.kind) {
    case ControlKind::kStatic: return PaintStatic(canvas, n, row, col, style);
    case ControlKind::kEdit: return PaintField(canvas, c, row, col, n.size.cols, style);
    case ControlKind::kComboBox: {
      std::string item = c.selection == CB_ERR ? "" : c.items[c.selection];
      canvas.Put(row, col, "[" + Padded(item, ListWidth(c)) + " v]", style);
      return;
    }
    case ControlKind::kPushButton:
      canvas.Put(row, col, "[ " + shown + " ]", style | (c.tmpl.default_button ? kCellBold : kCellPlain));
      text_col += 2;
      break;
    default:
      canvas.Put(row, col, Marked(c, shown), style);
      text_col += 4;
      break;
  }
  if (mnemonic >= 0) canvas.At(row, text_col + mnemonic).style |= kCellUnderline;
}

void Paint(TextCanvas &canvas, const Node &n, int row, int col) {
  if (n.control && !n.control->visible) return;
  if (IsGroup(n)) {
    Frame(canvas, row, col, n.size, DisplayText(n.control->text), kCellPlain);
    row += 1, col += 2;
  } else if (n.control) {
    return PaintLeaf(canvas, n, row, col);
  }
  for (const Node *child : n.children) Paint(canvas, *child, row + child->row, col + child->col);
}

// The open list of a dropped combo box, drawn below it over the rest.
void PaintOpenList(TextCanvas &canvas, const Control &c) {
  int width = ListWidth(c) + 2;
  int row = canvas.focus_row + 1, col = canvas.focus_col;
  Frame(canvas, row, col, {static_cast<int>(c.items.size()) + 2, width + 2}, "", kCellPlain);
  for (size_t i = 0; i < c.items.size(); ++i) {
    uint8_t style = static_cast<int>(i) == c.highlight ? kCellFocused : kCellPlain;
    canvas.Put(row + 1 + static_cast<int>(i), col + 1, Padded(" " + c.items[i], width), style);
  }
}

}  // namespace

void TextCanvas::Put(int row, int col, const std::string &text, uint8_t style) {
  if (row < 0 || row >= height) return;
  for (size_t i = 0; i < text.size(); ++i) {
    int c = col + static_cast<int>(i);
    if (c < 0 || c >= width) continue;
    At(row, c) = TextCell{text[i], style};
  }
}

void TextCanvas::Blit(const TextCanvas &other, int row, int col) {
  for (int r = 0; r < other.height; ++r) {
    for (int c = 0; c < other.width; ++c) {
      int rr = row + r, cc = col + c;
      if (rr >= 0 && rr < height && cc >= 0 && cc < width) At(rr, cc) = other.cells[static_cast<size_t>(r) * other.width + c];
    }
  }
}

std::string TextCanvas::Line(int row) const {
  std::string line;
  for (int c = 0; c < width; ++c) line += cells[static_cast<size_t>(row) * width + c].ch;
  return line;
}

TextCanvas RenderWindow(HWND window) {
  Dialog *d = DialogOf(window);
  if (!d) return TextCanvas();
  std::vector<std::unique_ptr<Node>> nodes;
  Node root;
  BuildTree(*d, nodes, &root);
  Measure(root);
  Size outer{root.size.rows + 2, std::max(root.size.cols, static_cast<int>(d->caption.size()) + 6) + 4};
  const Control *open_list = d->focus && d->focus->dropped ? d->focus : nullptr;
  int extra = open_list ? static_cast<int>(open_list->items.size()) + 2 : 0;
  TextCanvas canvas(outer.cols, outer.rows + extra);
  Frame(canvas, 0, 0, outer, d->caption, kCellBold);
  Paint(canvas, root, 1, 2);
  if (open_list && canvas.focus_row >= 0) PaintOpenList(canvas, *open_list);
  return canvas;
}

std::vector<std::string> WrapText(const std::string &text, size_t width) {
  std::vector<std::string> lines;
  width = std::max<size_t>(width, 1);
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string paragraph = text.substr(start, end - start);
    do {
      size_t cut = paragraph.size() <= width ? paragraph.size() : paragraph.rfind(' ', width);
      if (cut == std::string::npos || cut == 0) cut = std::min(width, paragraph.size());
      lines.push_back(paragraph.substr(0, cut));
      paragraph.erase(0, cut);
      if (!paragraph.empty() && paragraph[0] == ' ') paragraph.erase(0, 1);
    } while (!paragraph.empty());
    start = end + 1;
  }
  return lines;
}

}  // namespace win32
