#include "standin/command/Commands.h"

int main(int argc, char** argv) {
  return erp::runErpCommand(argc, argv);
}
