// The parts of the options dialog procedure (OptionsDialogProc_Inventor).
// Clicks on check boxes, radio buttons and lists change the options at
// once; typed numbers are read and tested on OK (the shading value also
// when another attribute is chosen).
#ifndef OPTIONS_OPTIONS_DIALOG_H
#define OPTIONS_OPTIONS_DIALOG_H

#ifdef _WIN32
#include <windows.h>
#else
#include "win32/windows.h"
#endif

#include "state/import_options.h"

// The dialog procedures of the "OptionsDialog" and "AboutBox" templates.
INT_PTR CALLBACK OptionsDialogProc_Inventor(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK AboutBoxProc_Inventor(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// The options record the dialog edits (the state's, made with defaults
// when there is none).
ImportOptions &DialogOptions();

// Fills a drop-down list with names and selects one (none when out of range).
void FillOptionList(HWND dialog, int id, const char *const *names, int count, int selection);

// Sets every control from the options (on opening and after Reset).
void FillOptionsDialog(HWND dialog);
// Greys out the controls whose option is switched off.
void ApplyEnableRules(HWND dialog);

// Marks a check box for a flag (set when nonzero).
void ShowOptionFlag(HWND dialog, int id, int16_t flag);
// Flips the flag of a check box and marks the box to match; false when the
// id is not a check box of a flag.
bool FlipOptionFlag(HWND dialog, int id);
// Sets the option of a radio pair to the clicked button's value (1 for the
// first, 0 for the second) and marks it; false when the id is not one.
bool ChooseOptionRadio(HWND dialog, int id);

// A check box, radio button or texture-path button; false for other ids.
bool HandleOptionButton(HWND dialog, int id);
// A selection change of the level-of-detail, alpha or transparency list;
// false for other ids.
bool HandleOptionList(HWND dialog, int id);

// The shading-coefficient group: attribute list, operation list, value.
void FillShadingGroup(HWND dialog);
// Shows, hides, enables the value field for the chosen operation; answers
// whether it is enabled.
bool ApplyValueFieldRule(HWND dialog);
// Reads and tests the value field (when enabled) and stores it; false, with
// a message and the focus on the field, when it is not acceptable.
bool CheckShadingValue(HWND dialog);
void ShadingAttributeChanged(HWND dialog);
void ShadingOperationChanged(HWND dialog);

// Opens the help file "vorlix.hlp" of the support directory at "main".
void ShowPluginHelp(HWND window);

// OK: tests the typed numbers in order, stores them and writes the
// preferences file; false when a test failed and the dialog stays open.
bool AcceptOptions(HWND dialog);

#endif
