#include "core/settings/profile_store.h"

namespace maptesk {

std::string MemoryProfileStore::ReadString(const std::string& section, const std::string& name,
                                           const std::string& fallback) {
  auto it = strings.find({section, name});
  return it == strings.end() ? fallback : it->second;
}

uint32_t MemoryProfileStore::ReadInt(const std::string& section, const std::string& name,
                                     uint32_t fallback) {
  auto it = ints.find({section, name});
  return it == ints.end() ? fallback : it->second;
}

void MemoryProfileStore::WriteString(const std::string& section, const std::string& name,
                                     const std::string& value) {
  strings[{section, name}] = value;
}

void MemoryProfileStore::WriteInt(const std::string& section, const std::string& name,
                                  uint32_t value) {
  ints[{section, name}] = value;
}

bool MemoryProfileStore::Has(const std::string& section, const std::string& name) const {
  return strings.count({section, name}) > 0 || ints.count({section, name}) > 0;
}

}  // namespace maptesk
