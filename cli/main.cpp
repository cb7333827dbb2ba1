#include <QCoreApplication>
#include <iostream>

#include "cli/cli_app.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("ostrel-cli");
  QCoreApplication::setApplicationVersion(OSTREL_VERSION);
  return ostrel::cli::RunCli(QCoreApplication::arguments(), std::cout, std::cerr);
}
