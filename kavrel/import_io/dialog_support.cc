// Dialog support of the import support library: numbers in edit fields,
// enabling, focus, centring, the directory chooser, help and the object
// compression options box. Built on the Win32 calls, so the same code runs
// over the in-memory dialogs of the tests and the terminal front end.
#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#else
#include "win32/windows.h"
#endif

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/import_io.h"
#include "host/kv_toolkit.h"
#include "kavrel/import_io/directory_chooser.h"
#include "kavrel/toolkit/call_recorder.h"

using kavrel::CallRecorder;

namespace {

constexpr int kFieldSize = 256;

std::string FieldText(HWND dialog, int id) {
  char text[kFieldSize] = "";
  GetDlgItemTextA(dialog, id, text, kFieldSize);
  return text;
}

std::string Trimmed(const std::string &text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

void FocusField(HWND dialog, int id) {
  SetFocus(GetDlgItem(dialog, id));
  SendDlgItemMessageA(dialog, id, EM_SETSEL, 0, -1);
}

// A field that does not hold a number of the kind asked for: the user is
// told what was typed and sent back to the field.
void RefuseField(HWND dialog, int id, const std::string &text, const char *kind) {
  std::string message = text.empty() ? "This field is empty: it needs " + std::string(kind) + "."
                                     : "\"" + text + "\" is not " + kind + ".";
  message += "\n\nPlease type " + std::string(kind) + " into the field.";
  MessageBoxA(dialog, message.c_str(), "Invalid Number", MB_OK | MB_ICONEXCLAMATION);
  FocusField(dialog, id);
}

bool ParseFloat(const std::string &text, float *value) {
  if (text.empty()) return false;
  char *end = nullptr;
  errno = 0;
  double number = std::strtod(text.c_str(), &end);
  if (*end != '\0' || errno == ERANGE || !std::isfinite(number) || std::fabs(number) > FLT_MAX) return false;
  *value = static_cast<float>(number);
  return true;
}

bool ParseInt(const std::string &text, int32_t *value) {
  if (text.empty()) return false;
  char *end = nullptr;
  errno = 0;
  long number = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || number < INT32_MIN || number > INT32_MAX) return false;
  *value = static_cast<int32_t>(number);
  return true;
}

bool ReadFloatField(HWND dialog, int id, float *value) {
  std::string text = Trimmed(FieldText(dialog, id));
  if (ParseFloat(text, value)) return true;
  RefuseField(dialog, id, text, "a number");
  return false;
}

bool IsDirectory(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Asks until the user names an existing directory or gives up.
bool AskForDirectory(HWND dialog, const char *title, const char *prompt, std::string *path) {
  for (;;) {
    if (!kavrel::ChooseDirectory(dialog, title ? title : "", prompt ? prompt : "", path)) return false;
    *path = Trimmed(*path);
    if (path->empty()) return false;
    if (IsDirectory(*path)) return true;
    std::string message = "The directory \"" + *path + "\" does not exist.";
    MessageBoxA(dialog, message.c_str(), "Invalid Directory", MB_OK | MB_ICONEXCLAMATION);
  }
}

}  // namespace

extern "C" void Import_IO_Center_Window(HWND parent, HWND dialog) {
  CallRecorder call(kavrel::CurrentHost(), "Import_IO_Center_Window");
  call.slot(parent);
  call.slot(dialog);
  RECT box, area;
  if (!GetWindowRect(dialog, &box)) return call.fail("dialog is not a window");
  // Without an owner of ours (none, or a window of the host's own) the
  // dialog is centred on the screen.
  if (!parent || !GetWindowRect(parent, &area)) area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  LONG width = box.right - box.left, height = box.bottom - box.top;
  LONG x = (area.left + area.right - width) / 2, y = (area.top + area.bottom - height) / 2;
  SetWindowPos(dialog, nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

extern "C" void Import_IO_DisplayHelpTopic(HWND dialog, const char *directory, const char *file, const char *topic) {
  CallRecorder call(kavrel::CurrentHost(), "Import_IO_DisplayHelpTopic");
  call.slot(dialog);
  std::string path = std::string(directory ? directory : "") + (file ? file : "");
  call.text(path.c_str(), "file");
  call.text(topic ? topic : "", "topic");
  call.finish();
  std::string message = "Help was asked for: topic \"" + std::string(topic ? topic : "") + "\" of \"" + path +
                        "\".\n\nThis host has no help viewer, so the help file is not shown.";
  MessageBoxA(dialog, message.c_str(), "Help", MB_OK | MB_ICONINFORMATION);
}

extern "C" int Import_IO_Dialog_To_NdFloat(HWND dialog, int id, float *value) {
  CallRecorder call(kavrel::CurrentHost(), "Import_IO_Dialog_To_NdFloat");
  call.integers({id});
  if (!call.pointer(value, "value")) return 0;
  return ReadFloatField(dialog, id, value) ? 1 : 0;
}

extern "C" int Import_IO_Dialog_To_NdInt(HWND dialog, int id, int32_t *value) {
  CallRecorder call(kavrel::CurrentHost(), "Import_IO_Dialog_To_NdInt");
  call.integers({id});
  if (!call.pointer(value, "value")) return 0;
  std::string text = Trimmed(FieldText(dialog, id));
  if (ParseInt(text, value)) return 1;
  RefuseField(dialog, id, text, "a whole number");
  return 0;
}

extern "C" void Import_IO_NdFloat_To_Dialog(HWND dialog, int id, float value) {
  CallRecorder call(kavrel::CurrentHost(), "Import_IO_NdFloat_To_Dialog");
  call.integers({id});
  call.floats(&value, 1, "value");
  char text[64];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  SetDlgItemTextA(dialog, id, text);
}

extern "C" void Import_IO_NdInt_To_Dialog(HWND dialog, int id, int32_t value) {
  CallRecorder call(kavrel::CurrentHost(), "Import_IO_NdInt_To_Dialog");
  call.integers({id, value});
  SetDlgItemTextA(dialog, id, std::to_string(value).c_str());
}

extern "C" void Import_IO_Set_Control_Enable(HWND dialog, int id, int enable) {
  CallRecorder call(kavrel::CurrentHost(), "Import_IO_Set_Control_Enable");
  call.integers({id, enable});
  EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

extern "C" void Import_IO_SetFocus_Edit_Control(HWND dialog, int id) {
  CallRecorder call(kavrel::CurrentHost(), "Import_IO_SetFocus_Edit_Control");
  call.integers({id});
  FocusField(dialog, id);
}

extern "C" int Import_IO_Check_Smoothing_Angle(HWND dialog, int id, float *angle) {
  CallRecorder call(kavrel::CurrentHost(), "Import_IO_Check_Smoothing_Angle");
  call.integers({id});
  if (!call.pointer(angle, "angle")) return 0;
  float value = 0;
  if (!ReadFloatField(dialog, id, &value)) return 0;
  if (value < 0.0f || value > 180.0f) {
    MessageBoxA(dialog, "The smoothing angle must be between 0 and 180 degrees.", "Invalid Smoothing Angle",
                MB_OK | MB_ICONEXCLAMATION);
    FocusField(dialog, id);
    return 0;
  }
  *angle = value;
  return 1;
}

extern "C" int Import_IO_GetWindowsOutputDirectory(HWND dialog, char **field, const char *title, const char *prompt) {
  CallRecorder call(kavrel::CurrentHost(), "Import_IO_GetWindowsOutputDirectory");
  if (!call.pointer(field, "field")) return 0;
  call.text(title ? title : "", "title");
  call.text(prompt ? prompt : "", "prompt");
  call.finish();
  std::string path = *field ? *field : "";
  if (!AskForDirectory(dialog, title, prompt, &path)) return 0;
  if (path.back() != '/' && path.back() != '\\') path += '/';
  if (*field) Kv_Free_Memory(*field);
  Import_IO_Copy_String(field, path.c_str());
  return 1;
}

extern "C" void Import_IO_ShowMoveChildrenOfYellowFolderOptionsDialogBox(HWND dialog, int flag) {
  CallRecorder call(kavrel::CurrentHost(), "Import_IO_ShowMoveChildrenOfYellowFolderOptionsDialogBox");
  call.integers({flag});
  call.finish();
  MessageBoxA(dialog,
              "Compress & optimize number of objects gathers the meshes below the imported root instance into as "
              "few objects as possible, with their transformations applied.\n\nThis host has no further settings "
              "for it.",
              "Object Compression Options", MB_OK | MB_ICONINFORMATION);
}
