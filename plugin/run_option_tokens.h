// The run-time option tokens of "execute_geometry_converter".
#ifndef PLUGIN_RUN_OPTION_TOKENS_H
#define PLUGIN_RUN_OPTION_TOKENS_H

#include "state/import_options.h"

// Applies one option token to the options; false when the token is not an
// option token. Integers are read as atoi does; every integer option but
// nthlod keeps only the low 16 bits.
bool ApplyRunOptionToken(ImportOptions &options, const char *token, const char *value);

#endif
