#include "ui/display/ui_text.h"

#include <QByteArrayView>
#include <QFile>
#include <QStringDecoder>

#include "core/util/cp1252.h"

namespace maptesk {

QString PathText(const std::string& path) { return QFile::decodeName(path.c_str()); }

std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString MessageText(const std::string& text) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString decoded = utf8(QByteArrayView(text.data(), qsizetype(text.size())));
  if (!utf8.hasError()) return decoded;
  return QString::fromStdString(Cp1252ToUtf8(text));
}

}  // namespace maptesk
