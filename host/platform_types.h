/* Window and module handle types shared by the plug-in, the host and the
 * Win32 layer. The host interface only passes them on, so it needs no more
 * of the Win32 interface than the two handle types, declared here exactly as
 * the Windows headers (and the Win32 layer without Windows) declare them.
 * The Win32 calls themselves belong to options/ and win32/. */
#ifndef HOST_PLATFORM_TYPES_H
#define HOST_PLATFORM_TYPES_H

typedef struct HWND__ *HWND;
typedef struct HINSTANCE__ *HINSTANCE;

#endif
