#include "gui/help/DesktopShell.h"

#include "gui/controls/QtText.h"
#include "util/XdgShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace gui {
namespace {

constexpr int kStarted = 42;
constexpr int kNotStarted = 2;

}  // namespace

int DesktopShell::Open(const std::string& target) {
  // Callers quote paths for a command line as the ERP's platform reads it; a URL takes no quotes.
  const QString text = controls::ToQt(util::XdgShell::Unquoted(target));
  const QUrl url =
      text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(text) : QUrl::fromUserInput(text);
  return QDesktopServices::openUrl(url) ? kStarted : kNotStarted;
}

void DesktopShell::Explore(const std::string& folder) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(controls::ToQt(util::XdgShell::Unquoted(folder))));
}

}  // namespace gui
