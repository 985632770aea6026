// The settings store on QSettings: the registry key "Orsk_Tools" with the
// application "MapTesk" on Windows, an INI file in the user's config folder
// elsewhere.
#pragma once

#include <QSettings>
#include <memory>

#include "core/settings/profile_store.h"

namespace maptesk {

class QtProfileStore : public ProfileStore {
 public:
  /// The user's own profile.
  QtProfileStore();
  /// A profile in an INI file (for tests and portable installs).
  explicit QtProfileStore(const QString& iniFile);

  std::string ReadString(const std::string& section, const std::string& name,
                         const std::string& fallback) override;
  uint32_t ReadInt(const std::string& section, const std::string& name, uint32_t fallback) override;
  void WriteString(const std::string& section, const std::string& name,
                   const std::string& value) override;
  void WriteInt(const std::string& section, const std::string& name, uint32_t value) override;

  /// Writes pending changes to the store; false when it could not.
  bool Sync();

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace maptesk
