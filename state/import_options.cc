// The operation names of the shading modifiers, and the modifiers.
#include "state/import_options.h"


const SurfAttrOperationRow surf_attr_operation_names[8] = {
    {"Do not import", kOpDoNotImport},         {"Import unchanged", kOpImportUnchanged},
    {"Set and use default", kOpSetDefault},    {"Set to specific value", kOpSetValue},
    {"Import and crop by", kOpCrop},           {"Import and scale by", kOpScale},
    {"Normalize color & coeff", kOpNormalize}, {"", -1},
};

int16_t surf_attr_mod_operation[kSurfaceAttributeCount];
float surf_attr_mod_value[kSurfaceAttributeCount];
int16_t last_surf_attr_combo_selected;
