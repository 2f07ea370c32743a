#pragma once

#include "host/AccpacConnection.h"
#include "host/ErrorListView.h"
#include "host/SignonDialog.h"

#include "standin/site/ErpErrorDisplay.h"
#include "standin/site/SignonPrompt.h"
#include "standin/site/SiteLayout.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace host::standin {

/// The field of the sign-on dialog that a refusal of the stand-in's session manager is about,
/// given the credentials it refused.
SignonField RefusedField(const std::string& refusal, const erp::Credentials& refused);

/// The stand-in's sign-on prompt answered by a host sign-on dialog: the dialog is offered the
/// site's companies with their names and, after a refusal, the message and the field at fault.
class DialogSignonPrompt : public erp::SignonPrompt {
 public:
  /// A prompt for the site in `sharedData`; `dialog` must outlive it.
  DialogSignonPrompt(std::filesystem::path sharedData, SignonDialog& dialog);

  std::optional<erp::Credentials> ask(const std::string& message) override;

 private:
  std::vector<SignonCompany> Companies() const;

  erp::SiteLayout layout_;
  SignonDialog& dialog_;
  erp::Credentials last_;
};

/// The stand-in's error display shown in a host error list view; an empty list shows nothing.
class ListErrorDisplay : public erp::ErrorDisplay {
 public:
  /// `view` must outlive the display.
  explicit ListErrorDisplay(ErrorListView& view) : view_(view) {}

  void show(const erp::ErrorList& errors) override;

 private:
  ErrorListView& view_;
};

/// The host services of a program with its own windows on the stand-in site in `sharedData`: the
/// operator signs on in `dialog` and sees the error list in `view`; both must outlive the
/// services and every connection made from them.
HostServices StandinDialogServices(const std::filesystem::path& sharedData, SignonDialog& dialog,
                                   ErrorListView& view, std::string commandLine = {});

}  // namespace host::standin
