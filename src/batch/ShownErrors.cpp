#include "batch/ShownErrors.h"

#include <memory>
#include <utility>

namespace batch {

class ShownErrors::Display : public host::ErrorDisplay {
 public:
  Display(std::unique_ptr<host::ErrorDisplay> inner, ShownErrors& owner)
      : inner_(std::move(inner)), owner_(owner) {}

  void Put(host::Session& session, const std::string& source, int priority, const std::string& text,
           const std::string& help, const std::string& helpFile, int helpId) override {
    inner_->Put(session, source, priority, text, help, helpFile, helpId);
  }

  void Show(host::Session& session) override {
    if (!owner_.holding_) {
      inner_->Show(session);
      return;
    }
    host::ErrorCollection& errors = session.Errors();
    for (int i = 0; i < errors.Count(); ++i) owner_.held_.push_back(errors.Text(i));
  }

  void Clear(host::Session& session) override { inner_->Clear(session); }

 private:
  std::unique_ptr<host::ErrorDisplay> inner_;
  ShownErrors& owner_;
};

void ShownErrors::Attach(host::HostServices& services) {
  services.newErrorDisplay = [this, make = std::move(services.newErrorDisplay)] {
    return std::make_unique<Display>(make(), *this);
  };
}

std::vector<std::string> ShownErrors::Take() {
  return std::exchange(held_, {});
}

}  // namespace batch
