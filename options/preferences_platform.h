// What the preferences file does differently on each platform: its line
// end, number reading that ignores the process locale, and the question
// whether an existing file refuses to be opened for writing.
#ifndef OPTIONS_PREFERENCES_PLATFORM_H
#define OPTIONS_PREFERENCES_PLATFORM_H

// The end of every line written: the platform's text line end ("\r\n" on
// Windows, "\n" elsewhere). The reader takes either on every platform.
extern const char kPreferencesLineEnd[];

// strtod as in the "C" locale, whatever locale the host set for the
// process: a host in a comma-decimal locale still reads "0.0001" whole.
double ReadNumberInCLocale(const char *text);

// True when path names an existing file that an open for writing is
// refused (a read-only file, a directory); false when it may be written or
// does not exist yet. Nothing is created or truncated.
bool RefusesOpenForWriting(const char *path);

#endif
