// guide_pdf HTML PDF: prints the user guide's HTML page, with the images it names beside it, to a
// PDF file of A4 pages. Runs without a display.
#include "docs/guide/pdf/GuideDocument.h"
#include "docs/guide/pdf/PdfPages.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

namespace {

bool ReadText(const QString& path, QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  text = QString::fromUtf8(file.readAll());
  return true;
}

int Fail(const QString& message) {
  std::fprintf(stderr, "guide_pdf: %s\n", qPrintable(message));
  return 1;
}

int Print(const QString& htmlPath, const QString& pdfPath) {
  QString html;
  if (!ReadText(htmlPath, html)) return Fail("cannot read " + htmlPath);
  const guide::PageSetup setup;
  QTextDocument document;
  document.setDocumentMargin(0);
  document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
  const QStringList missing = guide::LoadForPrint(
      document, html, QFileInfo(htmlPath).absolutePath(), guide::TextWidth(setup));
  if (!missing.isEmpty()) return Fail("cannot read the images " + missing.join(", "));
  if (!guide::WritePdf(document, pdfPath, setup)) return Fail("cannot write " + pdfPath);
  return 0;
}

// Qt's notes on the session it runs in (no runtime folder, no display) mean nothing to a build
// step; only its errors are shown.
void ShowErrorsOnly(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) Fail(text);
}

}  // namespace

int main(int argc, char** argv) {
  // A build step has no display, and the layout must not depend on the screen it would have.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(ShowErrorsOnly);
  QGuiApplication::setAttribute(Qt::AA_Use96Dpi);
  QGuiApplication app(argc, argv);
  const QStringList arguments = QGuiApplication::arguments();
  if (arguments.size() != 3) return Fail("usage: guide_pdf HTML PDF");
  return Print(arguments[1], arguments[2]);
}
