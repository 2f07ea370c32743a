#include "gui/main/RunStatusBar.h"

#include "app/RunStatus.h"
#include "gui/controls/QtText.h"

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
  setText(controls::ToQt(app::StatusLines(parts, connection->LogFolderOnDisk())));
  setToolTip(texts.join(QLatin1Char('\n')));
}

}  // namespace gui
