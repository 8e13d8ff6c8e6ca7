// The options subsystem as the other folders see it: the options' defaults,
// the preferences file and the two modal dialogs.
#ifndef OPTIONS_OPTIONS_H
#define OPTIONS_OPTIONS_H

#include <cstdint>
#include <string>

struct ImportOptions;

// Makes sure an InventorState exists and holds the default options.
void SetDefaultOptions_Inventor();

// Gives the run-only options (tokens of no preferences file) their defaults.
void ResetRunOnlyOptions(ImportOptions &options);

// The preferences file's path: the support directory (ending with its separator) and the file name.
std::string PreferencesFilePath(const char *directory);

// Reads the preferences file at path over the state's options; 0 read, 1 not.
int16_t LoadImportConvertOptions_Inventor(const char *path);

// "show_options_dialog": the modal options dialog over the state's options
// (made with defaults when there is none); 1 after OK, 0 after Cancel.
int32_t ShowOptionsDialog_Inventor();

// "show_about_dialog": the modal about box.
void ShowAboutBox_Inventor();

#endif
