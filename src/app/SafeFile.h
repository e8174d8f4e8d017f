#pragma once
// Reading and writing the user's files without hanging, without unbounded
// memory and without writing through a name the program did not choose.
// Only regular files are read or replaced: a FIFO, a device or a folder is
// refused before a single byte moves, so opening /dev/zero or a pipe can
// neither block nor grow.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quintrel {

enum class FileReadStatus { Ok, Missing, NotRegular, Unreadable };

struct FileRead {
    FileReadStatus status = FileReadStatus::Missing;
    std::vector<std::uint8_t> bytes; // at most the limit asked for
};

// Reads at most limit bytes of the regular file at path (links followed).
// A folder is Unreadable; a FIFO, a device or a socket is NotRegular.
FileRead readRegularFile(const std::string& path, std::size_t limit);

// Replaces the file at path: the bytes go into a new temporary file of a
// unique name, created exclusively in the target's folder, flushed to disk
// and renamed over the target, so a failed save leaves the previous file as
// it was and leaves no temporary file behind. A path that is a symbolic link
// replaces the file the link points to and the link stays. A target that
// exists but is not a regular file is refused.
bool writeFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Copies the regular file at path to path + suffix, or path + suffix + ".2",
// ".3", ... when that name is taken; never replaces anything. The copy's
// name, or none when nothing could be copied.
std::optional<std::string> copyBeside(const std::string& path, const std::string& suffix);

} // namespace quintrel
