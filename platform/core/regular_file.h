// Files the platform reads by name (bitmaps, cursors and icons): only a
// regular file is read. A directory, a pipe or a device is taken as a name
// that cannot be opened, as Windows takes a name that is no file: a pipe
// would wait for a writer and a device could be read without end.
#pragma once

#include <sys/stat.h>

namespace orvex_platform {

inline bool is_regular_file(const char* name) {
    struct stat st {};
    return name && *name && ::stat(name, &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace orvex_platform
