// Host services that the toolkit's calls share and the public host
// interface (kavrel/host.h) only sets.
#ifndef KAVREL_TOOLKIT_HOST_SERVICES_H
#define KAVREL_TOOLKIT_HOST_SERVICES_H

#include <cstdint>
#include <string>

namespace kavrel {

// The answer of the overwrite confirmer set with SetOverwriteConfirmer.
bool ConfirmOverwrite(const std::string &path);

// The value set with SetEnvironmentValue; 0 for a name never set.
int64_t EnvironmentValue(const std::string &name);

// Removes an output driver, deleting the unfinished file it was writing;
// false when there is none of that name.
bool RemoveOutputDriver(const std::string &name);

// Closes every image being written and deletes its unfinished file.
void DiscardImageOutput();

}  // namespace kavrel

#endif
