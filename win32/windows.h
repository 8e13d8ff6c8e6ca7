/* The part of the Win32 interface that the plug-in's dialogs use, for
 * builds without Windows. The calls are implemented over an in-memory
 * dialog (win32/dialog_runtime.*) that tests and the terminal front end
 * drive. Names, types and values follow the Windows headers. */
#ifndef WIN32_WINDOWS_H
#define WIN32_WINDOWS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct HWND__ *HWND;
typedef struct HINSTANCE__ *HINSTANCE;
typedef int BOOL;
typedef unsigned int UINT;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t INT_PTR;
typedef intptr_t LRESULT;
typedef const char *LPCSTR;
typedef uint32_t DWORD;
typedef uint16_t WORD;

#define CALLBACK
#define WINAPI
#define TRUE 1
#define FALSE 0

typedef INT_PTR(CALLBACK *DLGPROC)(HWND, UINT, WPARAM, LPARAM);

/* Without Windows a module handle points at the module's resources: the
 * text of its resource script, from which the dialog templates are read. */
typedef struct Win32ModuleResources {
  const char *resource_script;
} Win32ModuleResources;

#ifdef __cplusplus
}
#endif

#endif
