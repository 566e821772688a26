#pragma once
// Reading a small file from outside the program (sysfs attributes, EDIDs, a simulation file)
// without trusting it: never more than a limit, never blocking on a FIFO, regular files only.
#include <cstddef>
#include <filesystem>
#include <string>

namespace plat {

// Throws Error naming the file and what is wrong (cannot be opened, not a regular file, larger
// than limit bytes, read error).
std::string ReadBoundedFile(const std::filesystem::path& path, std::size_t limit);

}  // namespace plat
