#pragma once

#include <QRect>

class QApplication;
class QWidget;

namespace gui::controls {

/// The font family the window's controls name; it does not exist on this platform.
inline constexpr const char* kWindowFontFamily = "MS Sans Serif";

/// Sets what must be set before the QApplication exists: scaling that follows the screen's own
/// factor, so that the window is sharp on high-DPI screens.
void PrepareHighDpi();

/// Gives the application the platform's default font and maps the font the window names onto
/// it, so that the controls look native.
void UsePlatformFont(QApplication& application);

/// Mutes the offscreen platform's notes on what it cannot do for a window (raise it, grab the
/// keyboard, ...), which the tools and tests that draw without a display would print for every
/// window; every other message still goes out.
void MuteOffscreenNotes();

/// Twips (1440 per logical inch) as device-independent pixels on the widget's screen.
int TwipsToPixels(int twips, const QWidget& widget);

/// A rectangle given in twips, in device-independent pixels on the widget's screen.
QRect TwipsToPixels(const QRect& twips, const QWidget& widget);

/// A width the ERP gives in pixels of a 96 dpi screen, on the widget's screen.
int ErpPixels(int pixels, const QWidget& widget);

}  // namespace gui::controls
