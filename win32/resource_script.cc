// Reader of the dialog part of a resource script. A statement may run over
// several lines: a line that ends with "," or "|", or a next line that starts
// with one, continues it, as resource compilers accept.
#include "win32/resource_script.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>

namespace win32 {
namespace {

struct Token {
  enum Kind { kString, kNumber, kName, kPunct } kind;
  std::string text;  // string contents, name, or the punctuation character
  long number = 0;
};

using Tokens = std::vector<Token>;

struct ScriptError {
  int line;
  std::string what;
};

[[noreturn]] void Fail(int line, const std::string &what) { throw ScriptError{line, what}; }

std::string Upper(std::string text) {
  for (char &c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// ---- Lines -----------------------------------------------------------------

struct LogicalLine {
  int line;          // first physical line
  std::string text;  // comments removed, continuation lines joined
};

std::string StripComments(const std::string &line, bool *in_block) {
  std::string out;
  bool in_string = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    char next = i + 1 < line.size() ? line[i + 1] : '\0';
    if (*in_block) {
      if (c == '*' && next == '/') *in_block = false, ++i;
      continue;
    }
    if (c == '"') in_string = !in_string;
    if (!in_string && c == '/' && next == '/') break;
    if (!in_string && c == '/' && next == '*') {
      *in_block = true, ++i;
      continue;
    }
    out += c;
  }
  return out;
}

std::string Trim(const std::string &text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return "";
  size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

bool Continues(const std::string &text) {
  return !text.empty() && (text.back() == ',' || text.back() == '|');
}

std::vector<LogicalLine> SplitLines(const std::string &script) {
  std::vector<LogicalLine> lines;
  std::istringstream in(script);
  std::string physical;
  bool in_block = false;
  int number = 0;
  while (std::getline(in, physical)) {
    ++number;
    std::string text = Trim(StripComments(physical, &in_block));
    if (text.empty()) continue;
    bool joins = !lines.empty() && text[0] != '#' &&
                 (Continues(lines.back().text) || text[0] == ',' || text[0] == '|');
    if (joins) {
      lines.back().text += " " + text;
    } else {
      lines.push_back({number, text});
    }
  }
  return lines;
}

// ---- Tokens ----------------------------------------------------------------

char Escaped(char c) {
  switch (c) {
    case 'n': return '\n';
    case 't': return '\t';
    case 'r': return '\r';
    case 'a': return '\b';  // right-aligns the rest of a menu text; kept as a marker
    default: return c;
  }
}

size_t ReadString(const std::string &text, size_t i, int line, Token *token) {
  token->kind = Token::kString;
  for (++i;; ++i) {
    if (i >= text.size()) Fail(line, "unterminated string");
    char c = text[i];
    if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
      token->text += '"', ++i;
    } else if (c == '"') {
      return i + 1;
    } else if (c == '\\' && i + 1 < text.size()) {
      token->text += Escaped(text[++i]);
    } else {
      token->text += c;
    }
  }
}

Tokens Tokenize(const std::string &text, int line) {
  Tokens tokens;
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    Token token{Token::kPunct, "", 0};
    if (std::isspace(c)) {
      ++i;
      continue;
    }
    if (c == '"') {
      i = ReadString(text, i, line, &token);
    } else if (std::isdigit(c)) {
      char *end = nullptr;
      token.kind = Token::kNumber;
      token.number = std::strtol(text.c_str() + i, &end, 0);
      i = static_cast<size_t>(end - text.c_str());
      while (i < text.size() && std::strchr("lLuU", text[i]) && text[i] != '\0') ++i;
    } else if (std::isalpha(c) || c == '_') {
      size_t end = i;
      while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) ++end;
      token.kind = Token::kName;
      token.text = text.substr(i, end - i);
      i = end;
    } else {
      token.text = std::string(1, text[i++]);
    }
    tokens.push_back(token);
  }
  return tokens;
}

bool IsPunct(const Token &token, char c) { return token.kind == Token::kPunct && token.text[0] == c; }

std::vector<Tokens> SplitArguments(const Tokens &tokens, size_t from) {
  std::vector<Tokens> args(1);
  int depth = 0;
  for (size_t i = from; i < tokens.size(); ++i) {
    const Token &t = tokens[i];
    if (IsPunct(t, '(')) ++depth;
    if (IsPunct(t, ')')) --depth;
    if (depth == 0 && IsPunct(t, ',')) {
      args.emplace_back();
    } else {
      args.back().push_back(t);
    }
  }
  if (args.size() == 1 && args[0].empty()) args.clear();
  return args;
}

// ---- Expressions -----------------------------------------------------------

// The identifiers a script may use without defining them.
const std::map<std::string, long> &StandardSymbols() {
  static const std::map<std::string, long> symbols = {
      {"IDOK", 1}, {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4},
      {"IDIGNORE", 5}, {"IDYES", 6}, {"IDNO", 7}, {"IDC_STATIC", -1}};
  return symbols;
}

class Evaluator {
 public:
  Evaluator(const ResourceScript &script, int line) : script_(script), line_(line) {}

  // A number built from numbers and defined names with "-", "|", "+", "( )".
  long Number(const Tokens &tokens) {
    if (tokens.empty()) Fail(line_, "missing number");
    pos_ = 0;
    long value = Sum(tokens);
    if (pos_ != tokens.size()) Fail(line_, "unexpected '" + tokens[pos_].text + "'");
    return value;
  }

 private:
  long Sum(const Tokens &t) {
    long value = Unary(t);
    while (pos_ < t.size() && (IsPunct(t[pos_], '|') || IsPunct(t[pos_], '+'))) {
      bool is_or = IsPunct(t[pos_++], '|');
      long rhs = Unary(t);
      value = is_or ? (value | rhs) : value + rhs;
    }
    return value;
  }

  long Unary(const Tokens &t) {
    if (pos_ >= t.size()) Fail(line_, "incomplete number");
    const Token &token = t[pos_++];
    if (IsPunct(token, '-')) return -Unary(t);
    if (IsPunct(token, '(')) {
      long value = Sum(t);
      if (pos_ >= t.size() || !IsPunct(t[pos_], ')')) Fail(line_, "missing ')'");
      ++pos_;
      return value;
    }
    if (token.kind == Token::kNumber) return token.number;
    if (token.kind == Token::kName) return Symbol(token.text);
    Fail(line_, "unexpected '" + token.text + "'");
  }

  long Symbol(const std::string &name) {
    auto defined = script_.symbols.find(name);
    if (defined != script_.symbols.end()) return defined->second;
    auto standard = StandardSymbols().find(name);
    if (standard != StandardSymbols().end()) return standard->second;
    Fail(line_, "unknown symbol " + name);
  }

  const ResourceScript &script_;
  int line_;
  size_t pos_ = 0;
};

// Style names of one style argument: added ones, and those after NOT.
struct StyleSet {
  std::set<std::string> on;
  std::set<std::string> off;

  void Add(const Tokens &tokens) {
    bool negate = false;
    for (const Token &t : tokens) {
      if (t.kind == Token::kName && t.text == "NOT") {
        negate = true;
      } else if (t.kind == Token::kName) {
        (negate ? off : on).insert(t.text);
        (negate ? on : off).erase(t.text);
        negate = false;
      }
    }
  }
  bool Has(const char *name) const { return on.count(name) > 0; }
};

std::string StringArgument(const Tokens &arg, int line) {
  if (arg.size() != 1 || arg[0].kind != Token::kString) Fail(line, "expected a quoted text");
  return arg[0].text;
}

// ---- Controls --------------------------------------------------------------

struct StatementShape {
  const char *keyword;
  ControlKind kind;
  bool has_text;
  const char *implied_styles;  // styles the statement gives without saying
};

const StatementShape kStatements[] = {
    {"LTEXT", ControlKind::kStatic, true, "WS_GROUP"},
    {"CTEXT", ControlKind::kStatic, true, "WS_GROUP SS_CENTER"},
    {"RTEXT", ControlKind::kStatic, true, "WS_GROUP SS_RIGHT"},
    {"GROUPBOX", ControlKind::kGroupBox, true, ""},
    {"PUSHBUTTON", ControlKind::kPushButton, true, "WS_TABSTOP"},
    {"DEFPUSHBUTTON", ControlKind::kPushButton, true, "WS_TABSTOP BS_DEFPUSHBUTTON"},
    {"CHECKBOX", ControlKind::kCheckBox, true, "WS_TABSTOP"},
    {"AUTOCHECKBOX", ControlKind::kCheckBox, true, "WS_TABSTOP BS_AUTOCHECKBOX"},
    {"RADIOBUTTON", ControlKind::kRadioButton, true, "WS_TABSTOP"},
    {"AUTORADIOBUTTON", ControlKind::kRadioButton, true, "WS_TABSTOP BS_AUTORADIOBUTTON"},
    {"EDITTEXT", ControlKind::kEdit, false, "WS_TABSTOP"},
    {"COMBOBOX", ControlKind::kComboBox, false, "WS_TABSTOP"},
};

bool IsFrameStyle(const StyleSet &styles) {
  for (const char *frame : {"SS_SUNKEN", "SS_ETCHEDFRAME", "SS_BLACKFRAME", "SS_GRAYFRAME", "SS_WHITEFRAME"}) {
    if (styles.Has(frame)) return true;
  }
  return false;
}

ControlKind KindOfClass(const std::string &window_class, const std::string &text, const StyleSet &styles,
                        int line) {
  std::string name = Upper(window_class);
  // A static without text that only draws a border is a frame around others.
  if (name == "STATIC") return text.empty() && IsFrameStyle(styles) ? ControlKind::kGroupBox : ControlKind::kStatic;
  if (name == "EDIT") return ControlKind::kEdit;
  if (name == "COMBOBOX") return ControlKind::kComboBox;
  if (name != "BUTTON") Fail(line, "unsupported control class " + window_class);
  if (styles.Has("BS_GROUPBOX")) return ControlKind::kGroupBox;
  if (styles.Has("BS_AUTOCHECKBOX") || styles.Has("BS_CHECKBOX")) return ControlKind::kCheckBox;
  if (styles.Has("BS_AUTORADIOBUTTON") || styles.Has("BS_RADIOBUTTON")) return ControlKind::kRadioButton;
  return ControlKind::kPushButton;
}

void ApplyStyles(ControlTemplate *control, const StyleSet &styles) {
  control->automatic = styles.Has("BS_AUTOCHECKBOX") || styles.Has("BS_AUTORADIOBUTTON");
  control->default_button = styles.Has("BS_DEFPUSHBUTTON");
  control->read_only = styles.Has("ES_READONLY");
  control->disabled = styles.Has("WS_DISABLED");
  control->hidden = styles.off.count("WS_VISIBLE") > 0;
  control->group_start = styles.Has("WS_GROUP");
  control->tab_stop = styles.Has("WS_TABSTOP");
  if (styles.Has("SS_CENTER")) control->align = TextAlign::kCenter;
  if (styles.Has("SS_RIGHT")) control->align = TextAlign::kRight;
}

void ReadRectangle(Evaluator &eval, const std::vector<Tokens> &args, size_t from, ControlTemplate *c) {
  c->x = static_cast<int>(eval.Number(args[from]));
  c->y = static_cast<int>(eval.Number(args[from + 1]));
  c->width = static_cast<int>(eval.Number(args[from + 2]));
  c->height = static_cast<int>(eval.Number(args[from + 3]));
}

ControlTemplate GenericControl(Evaluator &eval, const std::vector<Tokens> &args, int line) {
  // CONTROL text, id, class, style, x, y, width, height [, extended style]
  if (args.size() < 8) Fail(line, "CONTROL needs text, id, class, style, x, y, width, height");
  ControlTemplate c;
  c.text = StringArgument(args[0], line);
  c.id = static_cast<int>(eval.Number(args[1]));
  const Tokens &cls = args[2];
  if (cls.size() != 1 || (cls[0].kind != Token::kString && cls[0].kind != Token::kName)) {
    Fail(line, "expected a control class");
  }
  StyleSet styles;
  styles.Add(args[3]);
  c.kind = KindOfClass(cls[0].text, c.text, styles, line);
  ReadRectangle(eval, args, 4, &c);
  ApplyStyles(&c, styles);
  return c;
}

ControlTemplate ShapedControl(const StatementShape &shape, Evaluator &eval, const std::vector<Tokens> &args,
                              int line) {
  size_t first = shape.has_text ? 1 : 0;
  if (args.size() < first + 5) Fail(line, std::string(shape.keyword) + " needs more arguments");
  ControlTemplate c;
  c.kind = shape.kind;
  if (shape.has_text) c.text = StringArgument(args[0], line);
  c.id = static_cast<int>(eval.Number(args[first]));
  ReadRectangle(eval, args, first + 1, &c);
  StyleSet styles;
  styles.Add(Tokenize(shape.implied_styles, line));
  if (args.size() > first + 5) styles.Add(args[first + 5]);
  ApplyStyles(&c, styles);
  return c;
}

ControlTemplate ReadControl(const ResourceScript &script, const LogicalLine &line) {
  Tokens tokens = Tokenize(line.text, line.line);
  Evaluator eval(script, line.line);
  std::vector<Tokens> args = SplitArguments(tokens, 1);
  const std::string &keyword = tokens[0].text;
  ControlTemplate control;
  if (keyword == "CONTROL") {
    control = GenericControl(eval, args, line.line);
  } else {
    const StatementShape *shape = nullptr;
    for (const StatementShape &s : kStatements) {
      if (keyword == s.keyword) shape = &s;
    }
    if (!shape) Fail(line.line, "unsupported statement " + keyword);
    control = ShapedControl(*shape, eval, args, line.line);
  }
  control.line = line.line;
  return control;
}

// ---- Dialogs ---------------------------------------------------------------

bool IsBlockStart(const std::string &text) { return text == "BEGIN" || text == "{"; }
bool IsBlockEnd(const std::string &text) { return text == "END" || text == "}"; }

void ReadDialogOption(const ResourceScript &script, const LogicalLine &line, DialogTemplate *dialog) {
  Tokens tokens = Tokenize(line.text, line.line);
  std::vector<Tokens> args = SplitArguments(tokens, 1);
  const std::string &keyword = tokens[0].text;
  if (keyword == "CAPTION") {
    if (args.empty()) Fail(line.line, "CAPTION needs a text");
    dialog->caption = StringArgument(args[0], line.line);
  } else if (keyword == "FONT") {
    if (args.size() < 2) Fail(line.line, "FONT needs a size and a name");
    dialog->font_size = static_cast<int>(Evaluator(script, line.line).Number(args[0]));
    dialog->font_name = StringArgument(args[1], line.line);
  }
  // STYLE, EXSTYLE, MENU, CLASS, LANGUAGE, VERSION, CHARACTERISTICS: no effect here.
}

DialogTemplate ReadDialogHeader(const ResourceScript &script, const LogicalLine &line) {
  Tokens tokens = Tokenize(line.text, line.line);
  DialogTemplate dialog;
  dialog.name = tokens[0].kind == Token::kNumber ? "#" + std::to_string(tokens[0].number) : tokens[0].text;
  size_t first = 2;
  while (first < tokens.size() && tokens[first].kind == Token::kName) ++first;  // DISCARDABLE and the like
  std::vector<Tokens> args = SplitArguments(tokens, first);
  if (args.size() < 4) Fail(line.line, "DIALOG needs x, y, width, height");
  Evaluator eval(script, line.line);
  dialog.x = static_cast<int>(eval.Number(args[0]));
  dialog.y = static_cast<int>(eval.Number(args[1]));
  dialog.width = static_cast<int>(eval.Number(args[2]));
  dialog.height = static_cast<int>(eval.Number(args[3]));
  return dialog;
}

void ReadDefine(const LogicalLine &line, ResourceScript *script) {
  Tokens tokens = Tokenize(line.text.substr(1), line.line);
  if (tokens.size() < 3 || tokens[0].text != "define" || tokens[1].kind != Token::kName) return;
  Tokens value(tokens.begin() + 2, tokens.end());
  try {
    script->symbols[tokens[1].text] = Evaluator(*script, line.line).Number(value);
  } catch (const ScriptError &) {
    // Not a number (a string or a macro with arguments): not a control id.
  }
}

bool IsDialogHeader(const Tokens &tokens) {
  return tokens.size() >= 2 && tokens[1].kind == Token::kName &&
         (tokens[1].text == "DIALOG" || tokens[1].text == "DIALOGEX");
}

class ScriptReader {
 public:
  ScriptReader(const std::string &text, ResourceScript *script) : lines_(SplitLines(text)), script_(script) {}

  void Read() {
    while (next_ < lines_.size()) {
      const LogicalLine &line = lines_[next_++];
      if (line.text[0] == '#') {
        ReadDefine(line, script_);
      } else if (IsBlockStart(line.text)) {
        SkipBlock();
      } else if (IsDialogHeader(Tokenize(line.text, line.line))) {
        ReadDialog(line);
      }
    }
  }

 private:
  void SkipBlock() {
    for (int depth = 1; depth > 0 && next_ < lines_.size(); ++next_) {
      if (IsBlockStart(lines_[next_].text)) ++depth;
      if (IsBlockEnd(lines_[next_].text)) --depth;
    }
  }

  void ReadDialog(const LogicalLine &header) {
    DialogTemplate dialog = ReadDialogHeader(*script_, header);
    while (next_ < lines_.size() && !IsBlockStart(lines_[next_].text)) {
      ReadDialogOption(*script_, lines_[next_++], &dialog);
    }
    if (next_++ >= lines_.size()) Fail(header.line, "dialog " + dialog.name + " has no BEGIN");
    for (;; ++next_) {
      if (next_ >= lines_.size()) Fail(header.line, "dialog " + dialog.name + " has no END");
      if (IsBlockEnd(lines_[next_].text)) break;
      dialog.controls.push_back(ReadControl(*script_, lines_[next_]));
    }
    ++next_;
    script_->dialogs[Upper(dialog.name)] = dialog;
  }

  std::vector<LogicalLine> lines_;
  size_t next_ = 0;
  ResourceScript *script_;
};

}  // namespace

bool ParseResourceScript(const std::string &text, ResourceScript *script, std::string *error) {
  *script = ResourceScript();
  try {
    ScriptReader(text, script).Read();
  } catch (const ScriptError &e) {
    if (error) *error = "line " + std::to_string(e.line) + ": " + e.what;
    return false;
  }
  return true;
}

const DialogTemplate *FindDialogTemplate(const ResourceScript &script, const std::string &name) {
  auto it = script.dialogs.find(Upper(name));
  return it == script.dialogs.end() ? nullptr : &it->second;
}

std::string DisplayText(const std::string &text, int *mnemonic_at) {
  std::string shown;
  int at = -1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      shown += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '&') {
      shown += '&', ++i;
    } else if (i + 1 < text.size() && at < 0) {
      at = static_cast<int>(shown.size());
    }
  }
  if (mnemonic_at) *mnemonic_at = at;
  return shown;
}

}  // namespace win32
