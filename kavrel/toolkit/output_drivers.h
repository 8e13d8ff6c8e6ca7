// Output drivers and the image that Kv_Image_Save writes to them.
#ifndef KAVREL_TOOLKIT_OUTPUT_DRIVERS_H
#define KAVREL_TOOLKIT_OUTPUT_DRIVERS_H

#include <string>

#include "host/host_records.h"
#include "kavrel/host.h"
#include "kavrel/image/image_rows.h"

namespace kavrel {

// The image being saved: the record that holds its row buffers, and the
// rows on their way to the file drivers that accepted its header. Its
// unfinished files are deleted when it goes.
struct ImageSave {
  Kv_ImageRecord *record = nullptr;
  ImageRows rows;
};

// Removes an output driver, deleting the unfinished file it was writing;
// false when there is none of that name.
bool RemoveOutputDriver(Host &host, const std::string &name);

}  // namespace kavrel

#endif
