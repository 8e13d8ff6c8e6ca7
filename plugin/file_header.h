// The first bytes of an input file, as header validation and the driver's
// VRML 2.0 check read them.
#ifndef PLUGIN_FILE_HEADER_H
#define PLUGIN_FILE_HEADER_H

enum { kVrml2HeaderLength = 15 };

// Opens path in text mode and reads exactly 15 characters with fgetc, storing
// the end-of-file value as a byte past the end; false when it cannot be opened.
bool ReadFileHeader(const char *path, char header[kVrml2HeaderLength]);

// True when the 15 characters are exactly "#VRML V2.0 utf8".
bool IsVrml2Header(const char header[kVrml2HeaderLength]);

#endif
