#include "docs/guide/pdf/PdfPages.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>

#include <cmath>

namespace guide {
namespace {

// The document is laid out in CSS pixels, so that the HTML's sizes and the images' own pixel
// sizes mean what they mean on screen; the painter scales them to the writer's resolution.
constexpr qreal kLayoutDpi = 96;
constexpr qreal kMillimetresPerInch = 25.4;
constexpr int kWriterDpi = 1200;
// A heading with less room than this below it on its page starts the next page instead: about
// four lines of text.
constexpr qreal kRoomAfterHeading = 80;
constexpr qreal kPageEdgeRounding = 0.5;

qreal ToPixels(qreal millimetres) {
  return millimetres / kMillimetresPerInch * kLayoutDpi;
}

QRectF TextArea(const PageSetup& setup) {
  const QSizeF paper = setup.paper.size(QPageSize::Millimeter);
  const QMarginsF& m = setup.margins;
  return QRectF(ToPixels(m.left()), ToPixels(m.top()),
                ToPixels(paper.width() - m.left() - m.right()),
                ToPixels(paper.height() - m.top() - m.bottom()));
}

void DrawFooter(QPainter& painter, const QRectF& text, const QString& title, int page, int pages) {
  painter.save();
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(11);  // 8 points, in the layout's pixels that the painter scales
  painter.setFont(font);
  painter.setPen(QColor(0x5a, 0x6b, 0x75));
  const QRectF line(text.left(), text.bottom() + ToPixels(6), text.width(), ToPixels(6));
  painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, title);
  painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("Page %1 of %2").arg(page).arg(pages));
  painter.restore();
}

void DrawPage(QPainter& painter, QTextDocument& document, const QRectF& text, int page) {
  painter.save();
  painter.translate(text.left(), text.top() - page * text.height());
  QAbstractTextDocumentLayout::PaintContext context;
  context.clip = QRectF(0, page * text.height(), text.width(), text.height());
  // The layout draws every block that reaches into the clip whole, so a screenshot moved to the
  // next page would show at the foot of this one too. The layout's rounding starts such a line a
  // hair above the page's edge, which the clip leaves out.
  painter.setClipRect(context.clip.adjusted(0, 0, 0, -kPageEdgeRounding));
  document.documentLayout()->draw(&painter, context);
  painter.restore();
}

bool TooCloseToPageEnd(const QRectF& block, qreal pageHeight) {
  const qreal pageEnd = (std::floor(block.top() / pageHeight) + 1) * pageHeight;
  return pageEnd - block.bottom() < kRoomAfterHeading;
}

// A heading, or a one-line caption such as "Order Entry" above a table, belongs with what follows.
bool LeadsIn(const QTextBlock& block) {
  if (block.blockFormat().headingLevel() > 0) return true;
  const QTextBlock next = block.next();
  return next.isValid() && block.lineCount() == 1 && !QTextCursor(block).currentTable() &&
         QTextCursor(next).currentTable();
}

// Qt breaks pages wherever a line ends, which can leave a heading alone at the foot of a page.
// Each heading moved shifts all that follows, so the document is laid out again after each one.
void KeepHeadingsWithTheirText(QTextDocument& document, qreal pageHeight) {
  QAbstractTextDocumentLayout* layout = document.documentLayout();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    document.pageCount();  // lays the whole document out
    QTextBlockFormat format = block.blockFormat();
    if (!LeadsIn(block) || format.pageBreakPolicy() != QTextFormat::PageBreak_Auto ||
        !TooCloseToPageEnd(layout->blockBoundingRect(block), pageHeight)) {
      continue;
    }
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(block).setBlockFormat(format);
  }
}

}  // namespace

qreal TextWidth(const PageSetup& setup) {
  return TextArea(setup).width();
}

bool WritePdf(QTextDocument& document, const QString& output, const PageSetup& setup) {
  const QRectF text = TextArea(setup);
  document.setPageSize(text.size());
  KeepHeadingsWithTheirText(document, text.height());
  const QString title = document.metaInformation(QTextDocument::DocumentTitle);

  QPdfWriter writer(output);
  writer.setResolution(kWriterDpi);
  writer.setPageLayout(QPageLayout(setup.paper, QPageLayout::Portrait, QMarginsF()));
  writer.setTitle(title);
  writer.setCreator(QStringLiteral("Ordavel"));
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  painter.scale(kWriterDpi / kLayoutDpi, kWriterDpi / kLayoutDpi);
  const int pages = document.pageCount();
  for (int page = 0; page < pages; ++page) {
    if (page > 0) writer.newPage();
    DrawPage(painter, document, text, page);
    DrawFooter(painter, text, title, page + 1, pages);
  }
  return painter.end();
}

}  // namespace guide
