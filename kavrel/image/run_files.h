// The files and directories the host makes while it converts one input,
// kept in one list, so that a run that fails, or a process stopped by a
// signal, leaves none of them behind.
#ifndef KAVREL_IMAGE_RUN_FILES_H
#define KAVREL_IMAGE_RUN_FILES_H

#include <string>

namespace kavrel {

// A temporary file being written; every clean-up deletes it until it is
// moved into place or forgotten.
void NoteTemporaryFile(const std::string &path);
// The writer deleted its temporary file itself.
void ForgetTemporaryFile(const std::string &path);

// Renames a noted temporary file onto target, unless a clean-up before exit
// has begun: then the temporary file is deleted and the answer is false
// with errno EINTR. A kept target counts as a file the run made (an
// extracted image); an export is not one.
bool MoveTemporaryIntoPlace(const std::string &temporary, const std::string &target, bool keep_as_run_file);

// A directory the run created: removed at the end of the run when empty.
void NoteRunDirectory(const std::string &path);

// True when path names a file this run made (the same text, as written).
bool IsRunFile(const std::string &path);

// The run succeeded: its files stay, its empty directories go; the list is
// emptied.
void KeepRunFiles();
// The run failed: its files are deleted, then its directories when empty;
// the list is emptied.
void RemoveRunFiles();
// RemoveRunFiles for a signal handler or a thread that is about to end the
// process: async-signal-safe, and later moves into place are refused.
void RemoveRunFilesBeforeExit();

}  // namespace kavrel

#endif
