#include "ui/app/qt_profile_store.h"

#include "core/settings/tool_settings.h"
#include "core/util/cp1252.h"

namespace maptesk {
namespace {

QString Key(const std::string& section, const std::string& name) {
  return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(name);
}

}  // namespace

QtProfileStore::QtProfileStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QString::fromLatin1(kProfileKey),
                                            QString::fromLatin1(kProfileApplication))) {}

QtProfileStore::QtProfileStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

// Paths are kept as the core's Windows-1252 bytes; the store holds Unicode.
std::string QtProfileStore::ReadString(const std::string& section, const std::string& name,
                                       const std::string& fallback) {
  QVariant v = settings_->value(Key(section, name));
  if (!v.isValid()) return fallback;
  auto bytes = Utf8ToCp1252(v.toString().toStdString());
  return bytes ? *bytes : fallback;
}

uint32_t QtProfileStore::ReadInt(const std::string& section, const std::string& name,
                                 uint32_t fallback) {
  QVariant v = settings_->value(Key(section, name));
  if (!v.isValid()) return fallback;
  bool ok = false;
  qlonglong value = v.toLongLong(&ok);
  return ok ? uint32_t(value) : fallback;
}

void QtProfileStore::WriteString(const std::string& section, const std::string& name,
                                 const std::string& value) {
  settings_->setValue(Key(section, name), QString::fromStdString(Cp1252ToUtf8(value)));
}

void QtProfileStore::WriteInt(const std::string& section, const std::string& name, uint32_t value) {
  settings_->setValue(Key(section, name), qlonglong(value));
}

bool QtProfileStore::Sync() {
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

}  // namespace maptesk
