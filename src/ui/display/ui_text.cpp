#include "ui/display/ui_text.h"

#include <QByteArrayView>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringDecoder>
#include <QStringList>
#include <cmath>

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

namespace {

// Measured rather than asked: a font's own fixed-pitch flag is not to be
// trusted (some monospaced families do not set it, and a family name may be
// answered with a proportional substitute).
bool MeasuresMonospaced(const QFont& font) {
  const QFontMetricsF metrics(font);
  const qreal width = metrics.horizontalAdvance(QLatin1Char('i'));
  if (width <= 0) return false;
  for (QLatin1Char c : {QLatin1Char('W'), QLatin1Char('m'), QLatin1Char('0'), QLatin1Char('1'),
                        QLatin1Char(' '), QLatin1Char('['), QLatin1Char('.')}) {
    if (std::abs(metrics.horizontalAdvance(c) - width) > 0.01) return false;
  }
  return true;
}

QFont WithFamily(const QFont& like, const QString& family) {
  QFont font = like;
  font.setFamilies({family});
  font.setStyleHint(QFont::Monospace);
  return font;
}

}  // namespace

QFont MonospaceFont(const QFont& preferred) {
  if (MeasuresMonospaced(preferred)) return preferred;
  const QStringList families = QFontDatabase::families();
  // The families that call themselves fixed-pitch first: they usually are.
  for (const bool declared : {true, false}) {
    for (const QString& family : families) {
      if (QFontDatabase::isPrivateFamily(family) ||
          QFontDatabase::isFixedPitch(family) != declared) {
        continue;
      }
      const QFont font = WithFamily(preferred, family);
      // A family that cannot be had comes back as another one.
      if (QFontInfo(font).family() != family) continue;
      if (MeasuresMonospaced(font)) return font;
    }
  }
  return preferred;
}

QFont ListFont() {
  static const QFont font = MonospaceFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  return font;
}

}  // namespace maptesk
