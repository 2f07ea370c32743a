#include "erp/command/Commands.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
  CLI::App app{"Administers a site of the stand-in ERP.", "erp"};
  app.require_subcommand(1);
  erp::addSiteCommand(app);
  erp::addCompanyCommand(app);
  erp::addUserCommand(app);
  erp::addAppCommand(app);
  erp::addSignonCommand(app);
  erp::addSignoffCommand(app);
  erp::addSampleCommand(app);
  erp::addGenerateCommand(app);
  erp::addQueryCommand(app);

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
