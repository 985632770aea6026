// Path, padding and existence helpers shared by every subsystem.
//
// Paths are byte strings. Both '/' and '\\' are accepted as separators, and a
// leading drive letter ("C:") is recognised, so paths stored by the game or by
// older settings keep working; paths built by the tool use kPathSeparator.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace maptesk {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

/// True for '/' and '\\'.
bool IsSeparator(char c);

/// Which piece of a path PathPart returns.
enum PathPartKind : int {
  kPartNone = -1,             ///< empty
  kPartFolder = 0,            ///< drive + folder, with its trailing separator
  kPartName = 1,              ///< name without extension
  kPartExtension = 2,         ///< extension with its dot
  kPartFileName = 3,          ///< name + extension
  kPartWithoutExtension = 4,  ///< drive + folder + name
  kPartWhole = 5,             ///< the whole path
};

/// Splits `path` into drive + folder, name and extension.
struct PathPieces {
  std::string folder;     ///< drive + folder, keeps its separators
  std::string name;       ///< base name without extension
  std::string extension;  ///< extension with its dot, "" when none
};
PathPieces SplitPath(std::string_view path);

/// One part of a path (see PathPartKind); any other value gives the whole path.
std::string PathPart(std::string_view path, int part);

/// The folder holding the path's folder, with a trailing separator:
/// "C:\\a\\b\\" and "C:\\a\\b\\file.txt" both give "C:\\a\\".
std::string ParentFolder(std::string_view path);

/// The folder of the running program, with a trailing separator ("" until set).
std::string ProgramFolder();
/// Records the running program's path (from argv[0] or the platform).
void SetProgramPath(std::string_view programPath);

/// Appends a separator unless `folder` is empty or already ends with one.
std::string WithTrailingSeparator(std::string folder);

/// Turns every separator into the platform's own.
std::string NativeSeparators(std::string path);

/// Finds an existing file or folder whose name matches `path` ignoring ASCII
/// case, component by component. A component of the exact name wins whenever
/// the folder holds an entry of that name, a dangling link included; only
/// then is a case-blind match taken (the first by byte order of several).
std::optional<std::string> FindFileNoCase(std::string_view path);

/// True when a file or folder of that name exists (found as FindFileNoCase
/// finds it; a dangling link is no file).
bool FileExists(std::string_view path);

/// The path to open for reading: the existing file that matches ignoring
/// case, else `path` unchanged.
std::string ResolveExisting(std::string_view path);

/// The value of the decimal digits at the end of `text` (after trailing blanks
/// are removed), or `fallback` when the text does not end with a digit.
long long TrailingNumber(std::string_view text, long long fallback);

/// Decimal `value` padded with `fill` to `width` characters.
std::string PadNumber(long long value, int width, char fill, bool alignRight);
/// `text` padded with `fill` to `width` characters (never cut).
std::string PadText(std::string_view text, int width, char fill, bool alignRight);

/// ASCII case-insensitive comparison helpers.
bool EqualsNoCase(std::string_view a, std::string_view b);
int CompareNoCase(std::string_view a, std::string_view b);

/// Matches `name` against a wildcard pattern with '*' and '?', ignoring case.
bool WildcardMatch(std::string_view pattern, std::string_view name);
/// Whether `text` holds a wildcard ('*' or '?'): a pattern, not a name.
bool HasWildcard(std::string_view text);

/// Regular files of `folder` whose names match `pattern` (ignoring case),
/// as full paths sorted by name. A folder that cannot be read gives none.
std::vector<std::string> FindFiles(std::string_view folder, std::string_view pattern);

}  // namespace maptesk
