# cmake -DHEADER=resource.h -DSCRIPT=x.rc -DOUTPUT=x.cc -P embed_resource_script.cmake
# Writes a C++ source defining inventor_import_resources with the text of
# the control id header followed by the resource script.
file(READ ${HEADER} header)
file(READ ${SCRIPT} script)
set(delimiter "rc_text")
file(WRITE ${OUTPUT}
"// Generated from options/resource.h and options/inventor_import.rc; edit those.
#include \"options/module_resources.h\"

namespace {
const char kResourceScript[] = R\"${delimiter}(${header}
${script})${delimiter}\";
}  // namespace

const Win32ModuleResources inventor_import_resources = {kResourceScript};
")
