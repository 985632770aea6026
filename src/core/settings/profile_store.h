// Where the settings live between runs: string and integer values by
// section and name. The editor stores them with QSettings; tests use memory.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace maptesk {

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  virtual std::string ReadString(const std::string& section, const std::string& name,
                                 const std::string& fallback) = 0;
  virtual uint32_t ReadInt(const std::string& section, const std::string& name,
                           uint32_t fallback) = 0;
  virtual void WriteString(const std::string& section, const std::string& name,
                           const std::string& value) = 0;
  virtual void WriteInt(const std::string& section, const std::string& name, uint32_t value) = 0;
};

/// A profile held in memory: for tests and for runs that keep no settings.
class MemoryProfileStore : public ProfileStore {
 public:
  std::string ReadString(const std::string& section, const std::string& name,
                         const std::string& fallback) override;
  uint32_t ReadInt(const std::string& section, const std::string& name, uint32_t fallback) override;
  void WriteString(const std::string& section, const std::string& name,
                   const std::string& value) override;
  void WriteInt(const std::string& section, const std::string& name, uint32_t value) override;

  bool Has(const std::string& section, const std::string& name) const;

  std::map<std::pair<std::string, std::string>, std::string> strings;
  std::map<std::pair<std::string, std::string>, uint32_t> ints;
};

}  // namespace maptesk
