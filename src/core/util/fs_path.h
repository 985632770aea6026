// std::filesystem paths from and to the byte strings the rest of the code
// passes names in.
//
// Names are bytes, UTF-8 wherever the system names files in Unicode. On
// Windows a path holds UTF-16, and building one from a narrow string would
// take each byte for a character of its own, so "\xC3\xA9" would name a
// file "Ã©" instead of "é": every path goes through these two functions.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace maptesk {

/// The path a name stands for. On Windows the bytes are read as UTF-8 (the
/// programs run with UTF-8 as their code page); a name that is not UTF-8 is
/// read as Windows-1252, the game's own encoding, so no name is refused.
std::filesystem::path FsPath(std::string_view name);

/// The name of a path as bytes: UTF-8 on Windows, where a character that
/// has none (a lone surrogate) becomes U+FFFD; the bytes unchanged elsewhere.
std::string FsName(const std::filesystem::path& path);

}  // namespace maptesk
