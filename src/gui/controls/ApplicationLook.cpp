#include "gui/controls/ApplicationLook.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QWidget>

namespace gui::controls {
namespace {

QtMessageHandler standardMessages = nullptr;

void SkipOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("This plugin does not support"))) return;
  standardMessages(type, context, text);
}

}  // namespace

void PrepareHighDpi() {
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
      Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

void UsePlatformFont(QApplication& application) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setStyleHint(QFont::SansSerif);
  application.setFont(font);
  QFont::insertSubstitution(QString::fromLatin1(kWindowFontFamily), font.family());
}

void MuteOffscreenNotes() {
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) return;
  QtMessageHandler previous = qInstallMessageHandler(SkipOffscreenNotes);
  if (previous != SkipOffscreenNotes) standardMessages = previous;
}

int TwipsToPixels(int twips, const QWidget& widget) {
  return twips * widget.logicalDpiX() / 1440;
}

QRect TwipsToPixels(const QRect& twips, const QWidget& widget) {
  const int dpiX = widget.logicalDpiX();
  const int dpiY = widget.logicalDpiY();
  return QRect(twips.x() * dpiX / 1440, twips.y() * dpiY / 1440, twips.width() * dpiX / 1440,
               twips.height() * dpiY / 1440);
}

int ErpPixels(int pixels, const QWidget& widget) {
  return pixels * widget.logicalDpiX() / 96;
}

}  // namespace gui::controls
