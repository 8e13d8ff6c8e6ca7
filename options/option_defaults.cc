// The options record's defaults, applied from the option table.
#include <new>

#include "options/option_table.h"
#include "options/options.h"
#include "state/state.h"

namespace {

// The strings are set to null without being released: the callers that
// reach here with strings set (the dialog's reset) release them first.
void ApplyDefault(const OptionRow &row, ImportOptions &options) {
  switch (row.format) {
    case OptionFormat::kInt16:
    case OptionFormat::kIndex16: row.short_value.In(options) = static_cast<int16_t>(row.default_value); break;
    case OptionFormat::kInt32: row.long_value.In(options) = static_cast<int32_t>(row.default_value); break;
    case OptionFormat::kFloatG:
    case OptionFormat::kFloatF: row.float_value.In(options) = row.default_value; break;
    case OptionFormat::kDirectory: row.directory.In(options) = nullptr; break;
  }
}

}  // namespace

void SetDefaultOptions_Inventor() {
  if (!plugin.state) {
    plugin.state = new (std::nothrow) InventorState();
    if (!plugin.state) return;
    plugin.state->options.options_defaults_set = 0;
  }
  if (plugin.state->options.options_defaults_set) return;
  for (const OptionRow &row : option_table) ApplyDefault(row, plugin.state->options);
  ResetRunOnlyOptions(plugin.state->options);
  plugin.state->options.options_defaults_set = 1;
}

void ResetRunOnlyOptions(ImportOptions &options) {
  for (const OptionRow &row : run_only_options) ApplyDefault(row, options);
}
