// The fixed names of the 20 terrain types.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace maptesk {

class TerrainTable {
 public:
  static constexpr int kCount = 20;
  /// Each name fits a 24-character field with its terminator.
  static constexpr int kNameField = 24;

  /// The name of a terrain value 0..19; nullptr for other values.
  static const char* Name(int value);
  /// The name, or the value as a number for values outside the table.
  static std::string Label(int value);
  /// The value of a name (ignoring case) or of a decimal number 0..19.
  static std::optional<int> Find(std::string_view nameOrValue);
};

}  // namespace maptesk
