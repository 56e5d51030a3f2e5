// File work of the simulated card: where its world folder is, and how its
// files are read and replaced.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace cardsim {

inline constexpr const char* kWorldFileName = "world.ini";
inline constexpr const char* kStatusFileName = "status.ini";
inline constexpr const char* kDriverFileName = "drivers/lk2093.ko";
inline constexpr const char* kDriverSettingsFileName = "driver-settings.bin";

// The world folder: $TAVL_SIM_HOME, else $XDG_CONFIG_HOME/Corvane, else
// $HOME/.config/Corvane, else the password database's home folder. Empty
// variables count as unset. No trailing '/'.
std::string WorldFolderFromEnvironment();

// Creates `path` and every missing folder above it with `mode`.
bool MakeFolders(const std::string& path, mode_t mode);

// Reads a whole file of at most `limit` bytes; false when it is missing,
// unreadable, larger, or not a regular file (a FIFO or a device there is
// never waited for; errno is then EINVAL).
bool ReadWholeFile(const std::string& path, std::string& data, std::size_t limit);

// Points at which a save can be stopped on purpose, to show that a crash
// leaves the old file or the new one but never a broken one.
enum class SavePoint { HalfWritten, BeforeRename };
using SaveHook = void (*)(SavePoint point);

// Replaces `path` with `data`: writes a temporary file in the same folder
// (mode `mode`), optionally flushes it to disk, then renames it over
// `path`. Readers see the old file or the new one, never a mixture. A
// failed write (a full disk, the file-size limit: its signal is held back
// meanwhile) returns false and leaves no temporary file.
bool WriteFileAtomically(const std::string& path, std::string_view data, mode_t mode, bool sync,
                         SaveHook hook = nullptr);

// Removes the temporary files that saves of processes no longer running
// left in `folder` when they were interrupted. Files of running writers,
// of other users, and anything but regular files stay.
void RemoveStaleTemporaries(const std::string& folder);

// Creates `path` with `data` only when no such file exists; an existing
// file is never replaced. True when the file exists afterwards.
bool CreateFileOnce(const std::string& path, std::string_view data, mode_t mode);

} // namespace cardsim
