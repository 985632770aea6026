// The fixed names of the 20 terrain types.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace maptesk {

/// The terrain values of HexCell::terrain, in the order of the table.
enum Terrain : uint16_t {
  kClear = 0,
  kCity,
  kAirfield,
  kForest,
  kJungle,
  kHill,
  kMountain,
  kSand,
  kSwamp,
  kOcean,
  kRiver,
  kFortification,
  kPort,
  kStream,
  kEscarpment,
  kImpassableRiver,
  kRough,
  kLake,
  kRiceFields,
  kLakeRegion,
};

class TerrainTable {
 public:
  static constexpr int kCount = kLakeRegion + 1;
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
