// The state record's constructor.
#include "state/inventor_state.h"

namespace {
const int kDictBuckets = 251;
}

// The options start zeroed, which is not a set of defaults:
// SetDefaultOptions_Inventor applies those.
InventorState::InventorState()
    : options(),
      instance_name_dict(kDictBuckets),
      object_name_dict(kDictBuckets),
      camera_name_dict(kDictBuckets),
      light_name_dict(kDictBuckets),
      surface_name_dict(kDictBuckets),
      texture_name_dict(kDictBuckets),
      instance_dict(kDictBuckets),
      object_dict(kDictBuckets),
      parent_stack(4) {}
