// The core's byte strings as Qt text, in one place: paths are the system's
// bytes, and messages carry either paths or names from the game's files.
// Also the fonts of texts laid out in columns.
#pragma once

#include <QFont>
#include <QString>
#include <string>

namespace maptesk {

/// A path of the system's bytes, and back.
QString PathText(const std::string& path);
std::string PathBytes(const QString& path);

/// A message, list line or caption: valid UTF-8 as it is (paths and plain
/// ASCII), anything else as Windows-1252 (names from the game's files).
QString MessageText(const std::string& text);

/// `preferred` when its letters, digits, blanks and brackets all take one
/// width; otherwise the first installed family, at its size, whose do; and
/// `preferred` after all when no family does.
QFont MonospaceFont(const QFont& preferred);

/// The font of the dialogs' lists, whose lines stand in columns: the
/// system's fixed font when it truly is monospaced, else another that is.
QFont ListFont();

}  // namespace maptesk
