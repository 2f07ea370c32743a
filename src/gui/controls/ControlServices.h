#pragma once

#include "host/AccpacConnection.h"
#include "host/DataSource.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace gui::controls {

/// What the widgets need from the program around them: the session whose error list shows what
/// an operator's action raised, and data sources of the finders' views. Create one after the
/// sign-on and destroy it before the sign-off: it closes the finders' data sources.
class ControlServices {
 public:
  /// `connection` and `dataSources` must outlive the services.
  ControlServices(host::AccpacConnection& connection, host::DataSourceFactory& dataSources)
      : connection_(connection), dataSources_(dataSources) {}
  ~ControlServices();
  ControlServices(const ControlServices&) = delete;
  ControlServices& operator=(const ControlServices&) = delete;

  host::AccpacConnection& Connection() const { return connection_; }

  /// Runs an operator's action; what it raises goes into the error list and is shown. True
  /// when the action ended normally.
  bool Run(const std::function<void()>& action) const;

  /// A data source of `viewId` for finders, opened on the company link when first asked for and
  /// kept for the later finders of that view. Failures raise HostError.
  host::DataSource& FinderSource(const std::string& viewId);

 private:
  host::AccpacConnection& connection_;
  host::DataSourceFactory& dataSources_;
  std::map<std::string, std::unique_ptr<host::DataSource>> finderSources_;
};

}  // namespace gui::controls
