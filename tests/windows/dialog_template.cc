#include "tests/windows/dialog_template.h"

#include <cstring>

namespace windows_test {

namespace {

// Walks the template's words, each read checked against the end.
class TemplateReader {
 public:
  TemplateReader(const BYTE *data, size_t size) : data_(data), size_(size) {}

  bool ok() const { return ok_; }
  WORD Word() { return Take<WORD>(); }
  DWORD Dword() { return Take<DWORD>(); }
  short Short() { return Take<short>(); }
  BYTE Byte() { return Take<BYTE>(); }
  void AlignToDword() { at_ = (at_ + 3) & ~size_t{3}; }
  void Skip(size_t bytes) {
    if (at_ + bytes > size_) ok_ = false;
    else at_ += bytes;
  }

  // A NUL-terminated UTF-16 string, as ANSI text.
  std::string String() {
    std::wstring wide;
    for (WORD c = Word(); ok_ && c != 0; c = Word()) wide += static_cast<wchar_t>(c);
    if (wide.empty()) return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0], size, nullptr, nullptr);
    return text;
  }

  // A string or, after 0xFFFF, an ordinal, as text: "#" and the number.
  std::string StringOrOrdinal() {
    if (Peek() != 0xFFFF) return String();
    Word();
    return "#" + std::to_string(Word());
  }

 private:
  template <typename T>
  T Take() {
    T value{};
    if (at_ + sizeof value > size_) {
      ok_ = false;
      return value;
    }
    std::memcpy(&value, data_ + at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  WORD Peek() {
    WORD value = Take<WORD>();
    if (ok_) at_ -= sizeof value;
    return value;
  }

  const BYTE *data_;
  size_t size_;
  size_t at_ = 0;
  bool ok_ = true;
};

// The predefined window classes, by ordinal (0x80 on) or by name in any
// case ("STATIC" for a CONTROL statement's "Static"), under one spelling.
std::string PredefinedClass(const std::string &stored) {
  static const char *const kClasses[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
  for (int i = 0; i < 6; ++i) {
    if (stored == "#" + std::to_string(0x80 + i) || _stricmp(stored.c_str(), kClasses[i]) == 0) return kClasses[i];
  }
  return stored;
}

void ReadControl(TemplateReader &in, bool extended, CompiledControl *control) {
  in.AlignToDword();
  DWORD style = 0;
  if (extended) {
    in.Dword();  // help id
    in.Dword();  // extended style
    style = in.Dword();
  } else {
    style = in.Dword();
    in.Dword();  // extended style
  }
  control->style = style;
  control->x = in.Short();
  control->y = in.Short();
  control->width = in.Short();
  control->height = in.Short();
  control->id = extended ? static_cast<int>(in.Dword()) : static_cast<short>(in.Word());
  control->window_class = PredefinedClass(in.StringOrOrdinal());
  control->text = in.StringOrOrdinal();
  in.Skip(in.Word());  // creation data
}

}  // namespace

bool ReadCompiledDialog(HMODULE module, const char *name, CompiledDialog *dialog, std::string *error) {
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(5));  // RT_DIALOG
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const BYTE *data = loaded ? static_cast<const BYTE *>(LockResource(loaded)) : nullptr;
  if (data == nullptr) {
    *error = std::string("no dialog template ") + name;
    return false;
  }
  TemplateReader in(data, SizeofResource(module, found));
  const bool extended = in.Word() == 1 && in.Word() == 0xFFFF;
  if (extended) {
    in.Dword();  // help id
    in.Dword();  // extended style
    dialog->style = in.Dword();
  } else {
    in = TemplateReader(data, SizeofResource(module, found));
    dialog->style = in.Dword();
    in.Dword();  // extended style
  }
  const WORD count = in.Word();
  dialog->x = in.Short();
  dialog->y = in.Short();
  dialog->width = in.Short();
  dialog->height = in.Short();
  in.StringOrOrdinal();  // menu
  in.StringOrOrdinal();  // window class
  dialog->caption = in.String();
  dialog->point_size = 0;
  if (dialog->style & DS_SETFONT) {
    dialog->point_size = in.Word();
    if (extended) {
      in.Word();  // weight
      in.Byte();  // italic
      in.Byte();  // character set
    }
    dialog->font = in.String();
  }
  dialog->controls.assign(count, CompiledControl{});
  for (CompiledControl &control : dialog->controls) ReadControl(in, extended, &control);
  if (!in.ok()) *error = std::string("the template ") + name + " is cut short";
  return in.ok();
}

}  // namespace windows_test
