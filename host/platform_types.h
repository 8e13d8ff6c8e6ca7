/* Window and module handle types shared by the plug-in, the host and the
 * Win32 layer. On Windows they come from <windows.h>; elsewhere the Win32
 * layer in win32/ supplies the same names. */
#ifndef HOST_PLATFORM_TYPES_H
#define HOST_PLATFORM_TYPES_H

#ifdef _WIN32
#include <windows.h>
#else
#include "win32/windows.h"
#endif

#endif
