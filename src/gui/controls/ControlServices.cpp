#include "gui/controls/ControlServices.h"

#include "host/ErrorBoundary.h"
#include "host/HostError.h"

namespace gui::controls {

ControlServices::~ControlServices() {
  for (auto& [view, source] : finderSources_) {
    try {
      source->SetOpen(false);
    } catch (const host::HostError&) {
      // A data source that cannot be closed is dropped all the same.
    }
  }
}

bool ControlServices::Run(const std::function<void()>& action) const {
  return host::ShowErrorsOf(connection_, action);
}

host::DataSource& ControlServices::FinderSource(const std::string& viewId) {
  auto found = finderSources_.find(viewId);
  if (found != finderSources_.end()) return *found->second;
  // A finder browses its own data source, so that it never moves the program's records.
  std::unique_ptr<host::DataSource> source = dataSources_.NewDataSource(viewId);
  source->SetDBLink(connection_.CompanyDBLinkRW());
  source->SetOpen(true);
  return *finderSources_.emplace(viewId, std::move(source)).first->second;
}

}  // namespace gui::controls
