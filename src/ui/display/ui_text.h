// The core's byte strings as Qt text, in one place: paths are the system's
// bytes, and messages carry either paths or names from the game's files.
#pragma once

#include <QString>
#include <string>

namespace maptesk {

/// A path of the system's bytes, and back.
QString PathText(const std::string& path);
std::string PathBytes(const QString& path);

/// A message, list line or caption: valid UTF-8 as it is (paths and plain
/// ASCII), anything else as Windows-1252 (names from the game's files).
QString MessageText(const std::string& text);

}  // namespace maptesk
