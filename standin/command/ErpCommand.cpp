#include "standin/command/Commands.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>

namespace erp {

int runErpCommand(int argc, char** argv) {
  CLI::App app{"Administers a site of the stand-in ERP.", "erp"};
  app.require_subcommand(1);
  addSiteCommand(app);
  addCompanyCommand(app);
  addUserCommand(app);
  addAppCommand(app);
  addSignonCommand(app);
  addSignoffCommand(app);
  addSampleCommand(app);
  addGenerateCommand(app);
  addQueryCommand(app);
  addViewsCommand(app);
  addWebApiCommand(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  } catch (const std::exception& error) {
    std::cerr << "erp: " << error.what() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace erp
