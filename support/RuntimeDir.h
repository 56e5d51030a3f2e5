// The user's runtime folder, home of the lock file and the sockets.
#pragma once

#include <string>

namespace support {

// $XDG_RUNTIME_DIR when it names a folder; otherwise a folder of this user
// below the temporary folder ($TMPDIR or /tmp), created with mode 0700.
// Never empty.
std::string RuntimeDirectory();

} // namespace support
