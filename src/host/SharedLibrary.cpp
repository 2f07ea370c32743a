#include "host/SharedLibrary.h"

#include "util/ResolvePathCase.h"

#include <dlfcn.h>

namespace host {

SharedLibrary::SharedLibrary(const std::string& file) {
  std::string resolved = util::ResolvePathCase(file).string();
  // A bare name would send the loader searching the system's library folders; the ERP's libraries
  // are only ever wanted from the folder the caller names (here, the current one).
  if (resolved.find('/') == std::string::npos) resolved = "./" + resolved;
  handle_ = ::dlopen(resolved.c_str(), RTLD_NOW | RTLD_LOCAL);
}

SharedLibrary::~SharedLibrary() {
  if (handle_ != nullptr) ::dlclose(handle_);
}

void* SharedLibrary::Address(const char* name) const {
  return handle_ == nullptr ? nullptr : ::dlsym(handle_, name);
}

}  // namespace host
