#include "docs/guide/pdf/GuideDocument.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>

#include <functional>

namespace guide {
namespace {

const QColor kRuleColour(0x9f, 0xb8, 0xc6);
const QColor kHeaderColour(0xe8, 0xf0, 0xf4);
constexpr qreal kRuleWidth = 1;
constexpr int kLineHeightPercent = 125;
constexpr qreal kSpaceAroundTable = 8;

// The web page's style sets it in a column centred on a screen; paper has its own margins, and
// Qt's text document takes the rest of that style as below.
constexpr const char* kPrintStyle = R"(
  h1 { color: #134b63; font-size: 22pt; }
  h2 { color: #134b63; font-size: 15pt; margin-top: 16px; }
  h3 { color: #1f6f8b; font-size: 12pt; }
  code { font-family: "DejaVu Sans Mono"; font-size: 9pt; background-color: #f1f5f7; }
  pre { background-color: #f1f5f7; }
  pre code { font-size: 8pt; }
  a { color: #1f6f8b; text-decoration: none; }
  th { text-align: left; }
)";

void ForEachFrame(QTextFrame* frame, const std::function<void(QTextFrame*)>& visit) {
  visit(frame);
  for (QTextFrame* child : frame->childFrames()) ForEachFrame(child, visit);
}

// Qt's HTML import draws tables without rules; a printed table needs them to be read across.
// With collapsed borders each cell draws its own, so every cell gets one.
void RuleTable(QTextTable& table) {
  QTextTableFormat format = table.format();
  format.setBorder(kRuleWidth);
  format.setBorderBrush(kRuleColour);
  format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
  format.setBorderCollapse(true);
  format.setCellSpacing(0);
  format.setCellPadding(4);
  format.setTopMargin(kSpaceAroundTable);  // else it would touch a code block above it
  format.setBottomMargin(kSpaceAroundTable);
  format.setHeaderRowCount(1);  // repeated on every page the table runs onto
  format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
  table.setFormat(format);
  for (int row = 0; row < table.rows(); ++row) {
    for (int column = 0; column < table.columns(); ++column) {
      QTextTableCell cell = table.cellAt(row, column);
      QTextTableCellFormat ruled = cell.format().toTableCellFormat();
      ruled.setBorder(kRuleWidth);
      ruled.setBorderBrush(kRuleColour);
      ruled.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
      if (row == 0) ruled.setBackground(kHeaderColour);
      cell.setFormat(ruled);
    }
  }
}

// Images keep their own size when they fit and are shrunk to the text width when not, so that a
// screenshot is never cut at the page edge.
bool PlaceImage(QTextDocument& document, QTextCursor& cursor, QTextImageFormat format,
                const QString& imageFolder, qreal textWidth) {
  const QString name = format.name();
  const QImage image(QDir(imageFolder).filePath(name));
  if (image.isNull()) return false;
  document.addResource(QTextDocument::ImageResource, QUrl(name), image);
  const qreal width = qMin<qreal>(image.width(), textWidth);
  format.setWidth(width);
  format.setHeight(width * image.height() / image.width());
  cursor.setCharFormat(format);
  return true;
}

bool IsCode(const QTextBlock& block) {
  return block.begin() != block.end() && block.begin().fragment().charFormat().fontFixedPitch() &&
         block.blockFormat().nonBreakableLines();
}

bool HoldsImage(const QTextBlock& block) {
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    if (it.fragment().charFormat().isImageFormat()) return true;
  }
  return false;
}

// The web page's generous line height reads well on screen but wastes paper. A line that holds
// a screenshot would get a quarter of the screenshot's height empty below it, and the lines of a
// code block (each a block of its own in a fixed-pitch font) would show gaps in its background.
void SpaceLines(QTextDocument& document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    QTextBlockFormat format = block.blockFormat();
    const bool single = HoldsImage(block) || IsCode(block);
    format.setLineHeight(single ? 100 : kLineHeightPercent, QTextBlockFormat::ProportionalHeight);
    QTextCursor(block).setBlockFormat(format);
  }
}

QStringList PlaceImages(QTextDocument& document, const QString& imageFolder, qreal textWidth) {
  QStringList missing;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.charFormat().isImageFormat()) continue;
      QTextCursor cursor(&document);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      const QTextImageFormat format = fragment.charFormat().toImageFormat();
      if (!PlaceImage(document, cursor, format, imageFolder, textWidth)) missing << format.name();
    }
  }
  return missing;
}

}  // namespace

QStringList LoadForPrint(QTextDocument& document, const QString& html, const QString& imageFolder,
                         qreal textWidth) {
  QString printable = html;
  printable.remove(QRegularExpression(QStringLiteral("<style>.*</style>"),
                                      QRegularExpression::DotMatchesEverythingOption));
  // A code block's last line ends in a newline, which Qt would set as one more empty line.
  printable.replace(QStringLiteral("\n</code></pre>"), QStringLiteral("</code></pre>"));
  document.setDefaultStyleSheet(QString::fromLatin1(kPrintStyle));
  document.setHtml(printable);
  ForEachFrame(document.rootFrame(), [](QTextFrame* frame) {
    if (auto* table = qobject_cast<QTextTable*>(frame)) RuleTable(*table);
  });
  SpaceLines(document);
  return PlaceImages(document, imageFolder, textWidth);
}

}  // namespace guide
