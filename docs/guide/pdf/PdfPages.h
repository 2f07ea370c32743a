#pragma once

#include <QMarginsF>
#include <QPageSize>
#include <QString>
#include <QTextDocument>

namespace guide {

/// The printed page: paper size and margins in millimetres.
struct PageSetup {
  QPageSize paper{QPageSize::A4};
  QMarginsF margins{20, 18, 20, 20};
};

/// The width of the text on a page, in the 96-dpi pixels the document is laid out in.
qreal TextWidth(const PageSetup& setup);

/// Lays `document` out on pages of `setup` and writes them to the PDF file `output`, each with the
/// document's title and "Page N of M" below the text. False when the file cannot be written.
bool WritePdf(QTextDocument& document, const QString& output, const PageSetup& setup);

}  // namespace guide
