// The desktop program:
//
//   ordavel [DESKTOP-HANDLE]
//   ordavel --web-api URL [--log-folder DIR] [--web-api-ca FILE] [--web-api-map FILE]
//           [--web-api-timeout SECONDS]
//
// With the handle of an ERP desktop session (`erp signon DIR USER COMPANY` prints one) it joins
// that session; without it the sign-on dialog asks who signs on to which company. With
// --web-api the sign-on dialog signs on to that server and the program converts through it.

#include "gui/main/Program.h"

#include "app/Layout.h"
#include "gui/controls/ApplicationLook.h"
#include "gui/resources/ProgramIcon.h"

#include <QApplication>

#include <charconv>
#include <clocale>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

/// The --web-api options of the command line, taken out of `words`; nothing without --web-api.
/// Throws std::invalid_argument naming an option that cannot be used.
std::optional<gui::WebApiChoice> TakeWebApiOptions(std::vector<std::string>& words) {
  std::map<std::string, std::string> given;
  std::vector<std::string> rest;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "--web-api" || word == "--log-folder" || word == "--web-api-ca" ||
        word == "--web-api-map" || word == "--web-api-timeout") {
      if (i + 1 >= words.size() || words[i + 1].empty()) {
        throw std::invalid_argument(word + " needs a value.");
      }
      given[word] = words[++i];
    } else {
      rest.push_back(word);
    }
  }
  words = rest;
  if (!given.contains("--web-api")) {
    if (!given.empty()) throw std::invalid_argument(given.begin()->first + " needs --web-api.");
    return std::nullopt;
  }
  gui::WebApiChoice choice{{host::webapi::ParseWebApiAddress(given["--web-api"]), {}, {}}};
  choice.settings.logRoot = given.contains("--log-folder")
                                ? std::filesystem::absolute(given["--log-folder"])
                                : host::webapi::DefaultLogRoot(choice.settings.address);
  choice.settings.keyFile = host::webapi::DefaultKeyFile();
  choice.settings.transport.caFile = given["--web-api-ca"];
  if (given.contains("--web-api-map")) {
    choice.overrides = host::webapi::ReadMapFile(given["--web-api-map"]);
  }
  if (const std::string& text = given["--web-api-timeout"]; !text.empty()) {
    int seconds = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds < 1 || seconds > 3600) {
      throw std::invalid_argument("--web-api-timeout takes seconds from 1 to 3600.");
    }
    choice.settings.transport.readTimeout = std::chrono::seconds(seconds);
  }
  return choice;
}

}  // namespace

int main(int argc, char** argv) {
  // Log stamps show the date and time in the operator's regional settings.
  std::setlocale(LC_TIME, "");
  gui::controls::PrepareHighDpi();
  QApplication application(argc, argv);
  application.setApplicationName(QString::fromLatin1(app::kProgramTitle));
  gui::controls::UsePlatformFont(application);
  gui::controls::MuteOffscreenNotes();
  std::vector<std::string> words(argv + 1, argv + argc);
  std::optional<gui::WebApiChoice> webApi;
  try {
    webApi = TakeWebApiOptions(words);
  } catch (const std::exception& error) {
    std::cerr << "ordavel: " << error.what() << '\n';
    return 3;
  }
  std::string commandLine;
  for (const std::string& word : words) commandLine += (commandLine.empty() ? "" : " ") + word;

  application.setWindowIcon(gui::ProgramIcon());
  gui::Program program(commandLine, {}, std::move(webApi));
  if (!program.Start()) return 1;
  return application.exec();
}
