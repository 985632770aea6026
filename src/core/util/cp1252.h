// Conversion between the game's Windows-1252 text and UTF-8 at the boundaries
// (the editor's widgets, the command line's JSON).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace maptesk {

/// Windows-1252 bytes to UTF-8. The five bytes that the code page leaves
/// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same
/// value, so every byte survives a round trip.
std::string Cp1252ToUtf8(std::string_view text);

/// UTF-8 to Windows-1252; nullopt when the text is not valid UTF-8 or holds a
/// character the code page cannot hold.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

}  // namespace maptesk
