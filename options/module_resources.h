// Without Windows a module handle points at the module's resources: the
// text of the resource script that holds the dialog templates. The build
// embeds it (embed_resource_script.cmake).
#ifndef OPTIONS_MODULE_RESOURCES_H
#define OPTIONS_MODULE_RESOURCES_H

#include "win32/windows.h"

extern const Win32ModuleResources inventor_import_resources;

#endif
