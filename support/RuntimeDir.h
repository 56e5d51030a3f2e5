// The user's private runtime folder, home of the lock file and the sockets.
#pragma once

#include <cstddef>
#include <string>

namespace support {

// Whether `path` is a folder of this user that no one else may write to
// (no group or other write permission). Only such a folder may hold the
// lock and the sockets: anyone who can write there could hold the lock or
// take over the channel.
bool IsPrivateFolder(const std::string& path);

// $XDG_RUNTIME_DIR when it is a private folder; otherwise the private
// folder of this user below the temporary folder (PrivateTempFolder).
// Empty when no private folder can be had; never a shared folder.
std::string RuntimeDirectory();

// This user's private folder below $TMPDIR, else below /tmp:
// "skerrin-<uid>", made with mode 0700 where missing. A name taken by
// another user, or open to others, is passed over for "skerrin-<uid>.1"
// up to ".9", so every program of this user settles on the same folder.
// `maxLength` bounds the folder's path (0: no bound). Empty when none fits.
std::string PrivateTempFolder(std::size_t maxLength = 0);

} // namespace support
