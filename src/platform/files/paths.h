#pragma once
// The program's paths are written the way its skins and settings name them ("c:\Skins\x.asz");
// here they become host paths: a drive root is a folder under the user's data directory
// ($XDG_DATA_HOME, else ~/.local/share, then velmora/<drive>/), backslashes are separators, and
// names match existing files and folders without regard to case.
#include <string>
#include <string_view>

namespace plat::files {

// The folder that stands for a drive's root, with a trailing separator.
std::string DriveRoot(char drive);
// The host path for a program path; components that exist under another case take that case.
std::string HostPath(std::string_view path);
bool FileExists(std::string_view path);
bool DirectoryExists(std::string_view path);

}  // namespace plat::files
