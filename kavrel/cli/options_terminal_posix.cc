// The plug-in's dialogs in a terminal: the terminal in raw mode on the
// alternate screen, every modal window drawn from the in-memory dialogs with
// ANSI sequences, and each key handed to the dialog's keyboard interface.
#include "kavrel/cli/options_terminal.h"

#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "kavrel/host.h"
#include "win32/dialog_keyboard.h"
#include "win32/dialog_text_layout.h"

namespace kavrel {
namespace {

constexpr int kEscapeWaitMs = 50;  // a lone Escape, or the start of a key's sequence
const char kKeyHelp[] = " Tab/arrows move   Space/Enter press   type into fields   Esc cancel";
// The about box closes on its OK button only.
const char kAboutKeyHelp[] = " Tab/arrows move   Space/Enter press";

// ---- The terminal ------------------------------------------------------------

struct termios g_saved_mode;
bool g_raw = false;

void WriteAll(const std::string &text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(STDOUT_FILENO, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

const char kEnterScreen[] = "\x1b[?1049h\x1b[?25l";
const char kLeaveScreen[] = "\x1b[0m\x1b[?25h\x1b[?1049l";

void RestoreTerminal() {
  if (g_raw) tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_saved_mode);
  g_raw = false;
  ssize_t ignored = write(STDOUT_FILENO, kLeaveScreen, sizeof kLeaveScreen - 1);
  (void)ignored;
}

// A hang-up or termination must not leave the user's terminal raw.
void RestoreAndDie(int signal_number) {
  RestoreTerminal();
  signal(signal_number, SIG_DFL);
  raise(signal_number);
}

class RawTerminal {
 public:
  RawTerminal() {
    if (isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &g_saved_mode) == 0) {
      struct termios raw = g_saved_mode;
      // Ctrl-C arrives as a key (and cancels) instead of killing the dialog.
      raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
      raw.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | BRKINT | ISTRIP);
      raw.c_cc[VMIN] = 1;
      raw.c_cc[VTIME] = 0;
      g_raw = tcsetattr(STDIN_FILENO, TCSAFLUSH, &raw) == 0;
    }
    for (int s : {SIGTERM, SIGHUP}) previous_[s] = signal(s, RestoreAndDie);
    WriteAll(kEnterScreen);
  }
  ~RawTerminal() {
    RestoreTerminal();
    for (auto &entry : previous_) signal(entry.first, entry.second);
  }
  RawTerminal(const RawTerminal &) = delete;
  RawTerminal &operator=(const RawTerminal &) = delete;

 private:
  std::map<int, void (*)(int)> previous_;
};

std::pair<int, int> ScreenSize() {
  struct winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0) {
    return {size.ws_row, size.ws_col};
  }
  return {40, 132};
}

// ---- Keys --------------------------------------------------------------------

bool ReadByte(unsigned char *c, int wait_ms) {
  if (wait_ms >= 0) {
    struct pollfd ready{STDIN_FILENO, POLLIN, 0};
    if (poll(&ready, 1, wait_ms) <= 0) return false;
  }
  return read(STDIN_FILENO, c, 1) == 1;
}

// The key of an escape sequence "ESC [ params final" or "ESC O final".
bool SequenceKey(win32::Key *key) {
  unsigned char c = 0;
  std::string params;
  while (ReadByte(&c, kEscapeWaitMs) && !(c >= 0x40 && c <= 0x7e)) params += static_cast<char>(c);
  static const std::map<std::string, win32::KeyCode> kKeys = {
      {"A", win32::KeyCode::kUp},      {"B", win32::KeyCode::kDown},  {"C", win32::KeyCode::kRight},
      {"D", win32::KeyCode::kLeft},    {"H", win32::KeyCode::kHome},  {"F", win32::KeyCode::kEnd},
      {"Z", win32::KeyCode::kBackTab}, {"1~", win32::KeyCode::kHome}, {"7~", win32::KeyCode::kHome},
      {"4~", win32::KeyCode::kEnd},    {"8~", win32::KeyCode::kEnd},  {"3~", win32::KeyCode::kDelete}};
  auto it = kKeys.find(params + static_cast<char>(c));
  if (it == kKeys.end()) return false;
  *key = win32::Key{it->second};
  return true;
}

enum class Input { kKey, kNothing, kEnd };

Input ReadKey(win32::Key *key) {
  unsigned char c = 0;
  if (!ReadByte(&c, -1)) return Input::kEnd;
  if (c == 0x1b) {
    unsigned char next = 0;
    if (!ReadByte(&next, kEscapeWaitMs)) {
      *key = win32::Key{win32::KeyCode::kEscape};
    } else if (next == '[' || next == 'O') {
      return SequenceKey(key) ? Input::kKey : Input::kNothing;
    } else {
      *key = win32::Key{win32::KeyCode::kChar, static_cast<char>(next)};  // Alt+letter: a mnemonic
    }
    return Input::kKey;
  }
  switch (c) {
    case '\r': case '\n': *key = win32::Key{win32::KeyCode::kEnter}; break;
    case '\t': *key = win32::Key{win32::KeyCode::kTab}; break;
    case 0x7f: case 0x08: *key = win32::Key{win32::KeyCode::kBackspace}; break;
    case 0x03: *key = win32::Key{win32::KeyCode::kEscape}; break;
    default:
      if (c < 0x20 || c >= 0x7f) return Input::kNothing;
      *key = win32::Key{win32::KeyCode::kChar, static_cast<char>(c)};
  }
  return Input::kKey;
}

// ---- Drawing -----------------------------------------------------------------

std::string StyleCode(uint8_t style) {
  std::string code = "\x1b[0";
  if (style & win32::kCellBold) code += ";1";
  if (style & win32::kCellGreyed) code += ";2";
  if (style & win32::kCellUnderline) code += ";4";
  if (style & win32::kCellFocused) code += ";7";
  return code + "m";
}

std::string Ansi(const win32::TextCanvas &screen) {
  std::string out;
  for (int row = 0; row < screen.height; ++row) {
    out += "\x1b[" + std::to_string(row + 1) + ";1H";
    int style = -1;
    for (int col = 0; col < screen.width; ++col) {
      const win32::TextCell &cell = screen.cells[static_cast<size_t>(row) * screen.width + col];
      if (cell.style != style) out += StyleCode(cell.style);
      style = cell.style;
      out += cell.ch;
    }
  }
  out += "\x1b[0m";
  if (screen.cursor_row >= 0) {
    out += "\x1b[" + std::to_string(screen.cursor_row + 1) + ";" + std::to_string(screen.cursor_col + 1) + "H\x1b[?25h";
  } else {
    out += "\x1b[?25l";
  }
  return out;
}

// Where a window of that size goes on a screen of that size: centred when
// it fits; otherwise scrolled so that its focused control stays in view.
int Place(int screen, int window, int focus, int *scroll) {
  if (window <= screen) return (screen - window) / 2;
  if (focus >= 0 && focus < *scroll) *scroll = focus;
  if (focus >= 0 && focus >= *scroll + screen) *scroll = focus - screen + 1;
  *scroll = std::max(0, std::min(*scroll, window - screen));
  return -*scroll;
}

class TerminalUser : public win32::DialogUser {
 public:
  explicit TerminalUser(const char *key_help) : key_help_(key_help) {}

  bool Act(win32::DialogDriver &window) override {
    Draw();
    win32::Key key{win32::KeyCode::kChar};
    switch (ReadKey(&key)) {
      case Input::kEnd: gave_up_ = true; return false;
      case Input::kNothing: return true;
      case Input::kKey: break;
    }
    win32::PressKey(window, key);
    return true;
  }

  bool gave_up() const { return gave_up_; }

 private:
  void Draw() {
    auto [rows, cols] = ScreenSize();
    win32::TextCanvas screen(cols, rows);
    std::vector<HWND> windows = win32::OpenWindows();
    for (HWND window : windows) {
      win32::TextCanvas canvas = win32::RenderWindow(window);
      auto &scroll = scroll_[window];
      int top = Place(rows - 1, canvas.height, canvas.focus_row, &scroll.first);
      int left = Place(cols, canvas.width, canvas.focus_col, &scroll.second);
      screen.Blit(canvas, top, left);
      bool innermost = window == windows.back();
      screen.cursor_row = innermost && canvas.cursor_row >= 0 ? top + canvas.cursor_row : -1;
      screen.cursor_col = innermost && canvas.cursor_row >= 0 ? left + canvas.cursor_col : -1;
    }
    screen.Put(rows - 1, 0, key_help_, win32::kCellGreyed);
    if (screen.cursor_row >= rows - 1 || screen.cursor_col >= cols) screen.cursor_row = -1;
    WriteAll(Ansi(screen));
  }

  const char *key_help_;                       // the bottom line
  std::map<HWND, std::pair<int, int>> scroll_;  // rows and columns scrolled per window
  bool gave_up_ = false;
};

// Reports made while the dialog owns the screen are shown after it is gone.
class HeldReports {
 public:
  explicit HeldReports(Host &host) : host_(host), saved_(host.settings().sinks) {
    host.settings().sinks.error = [this](int level, const std::string &text) { errors_.emplace_back(level, text); };
  }
  ~HeldReports() {
    host_.settings().sinks = saved_;
    for (const auto &error : errors_) host_.ReportError(error.first, error.second);
  }

  // An error the user must not miss came: the preferences were not stored.
  bool Failed() const {
    for (const auto &error : errors_) {
      if (error.first >= 4) return true;
    }
    return false;
  }

 private:
  Host &host_;
  ReportSinks saved_;
  std::vector<std::pair<int, std::string>> errors_;
};

}  // namespace

bool TerminalAvailable() { return isatty(STDIN_FILENO) == 1 && isatty(STDOUT_FILENO) == 1; }

int RunDialogInTerminal(Host &host, PluginEntryPoint entry, bool about) {
  if (!entry) return -1;
  HeldReports reports(host);
  int32_t result = 0;
  TerminalUser user(about ? kAboutKeyHelp : kKeyHelp);
  {
    RawTerminal terminal;
    win32::ScopedDialogUser scoped(&user);
    const char *tokens[] = {about ? "show_about_dialog" : "show_options_dialog", nullptr};
    intptr_t values[] = {0, 0};
    entry(tokens, values, &result, 0);
  }
  if (user.gave_up()) return -1;
  return reports.Failed() ? -2 : result;
}

}  // namespace kavrel
