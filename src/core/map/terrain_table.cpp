#include "core/map/terrain_table.h"

#include "core/util/path_utils.h"

namespace maptesk {
namespace {

constexpr const char* kNames[TerrainTable::kCount] = {
    "Clear",  "City",   "Airfield",    "Forest",
    "Jungle", "Hill",   "Mountain",    "Sand",
    "Swamp",  "Ocean",  "River",       "Fortification",
    "Port",   "Stream", "Escarpment",  "Impassable River",
    "Rough",  "Lake",   "Rice Fields", "Lake region"};

}  // namespace

const char* TerrainTable::Name(int value) {
  return (value >= 0 && value < kCount) ? kNames[value] : nullptr;
}

std::string TerrainTable::Label(int value) {
  const char* name = Name(value);
  return name ? std::string(name) : std::to_string(value);
}

std::optional<int> TerrainTable::Find(std::string_view nameOrValue) {
  for (int i = 0; i < kCount; ++i) {
    if (EqualsNoCase(kNames[i], nameOrValue)) return i;
  }
  if (nameOrValue.empty() || nameOrValue.size() > 2) return std::nullopt;
  int value = 0;
  for (char c : nameOrValue) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value >= kCount) return std::nullopt;
  return value;
}

}  // namespace maptesk
