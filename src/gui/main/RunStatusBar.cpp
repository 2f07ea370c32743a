#include "gui/main/RunStatusBar.h"

#include "app/RunStatus.h"
#include "gui/controls/QtText.h"

#include <QResizeEvent>

namespace gui {

RunStatusLabel::RunStatusLabel(app::Form1& form, QWidget* parent) : QLabel(parent), form_(form) {
  // However long the counts, the status bar must not make the window wider.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  setTextFormat(Qt::PlainText);
  if (app::ConversionRun* run = form_.Run()) {
    runEnded_ = run->RunEnded.Connect([this] { ShowStatus(); });
  }
  ShowStatus();
}

void RunStatusLabel::ShowStatus() {
  host::AccpacConnection* connection = form_.Connection();
  if (!connection || !connection->Session()) return;
  const app::ConversionRun* run = form_.Run();
  const std::vector<std::string> parts =
      app::StatusParts(connection->Session()->CompanyID(), connection->Session()->UserID(),
                       run ? &run->LastResult() : nullptr, run && run->LastWasPreview(),
                       connection->LogFolderOnDisk());
  QStringList texts;
  for (const std::string& part : parts) texts << controls::ToQt(part);
  lines_ = controls::ToQt(app::StatusLines(parts, connection->LogFolderOnDisk()))
               .split(QLatin1Char('\n'));
  setToolTip(texts.join(QLatin1Char('\n')));
  ShowLines();
}

void RunStatusLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  ShowLines();
}

void RunStatusLabel::ShowLines() {
  QStringList shown;
  const int room = contentsRect().width();
  for (const QString& line : lines_) {
    shown << fontMetrics().elidedText(line, Qt::ElideRight, room);
  }
  setText(shown.join(QLatin1Char('\n')));
}

}  // namespace gui
