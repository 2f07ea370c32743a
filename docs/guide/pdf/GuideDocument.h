#pragma once

#include <QString>
#include <QTextDocument>

namespace guide {

/// Loads the guide's web page `html` into `document` for print: a style for paper in place of the
/// screen's, tables with rules and padding, and every image loaded from `imageFolder` and scaled
/// to at most `textWidth` (in the document's 96-dpi pixels). Returns the images it could not load.
QStringList LoadForPrint(QTextDocument& document, const QString& html, const QString& imageFolder,
                         qreal textWidth);

}  // namespace guide
