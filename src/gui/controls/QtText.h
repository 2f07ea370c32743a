#pragma once

#include <QString>

#include <string>

namespace gui::controls {

/// The models' UTF-8 text as Qt text.
inline QString ToQt(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// Qt text as the models' UTF-8 text.
inline std::string FromQt(const QString& text) {
  return text.toStdString();
}

/// A model's caption as a label text: an ampersand is shown, not taken as a mnemonic.
inline QString LiteralLabel(const std::string& text) {
  return ToQt(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace gui::controls
