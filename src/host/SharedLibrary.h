#pragma once

#include <string>

namespace host {

/// A platform library loaded from a file for the lifetime of the object.
class SharedLibrary {
 public:
  /// Loads `file` (its name resolved without regard to case); loaded() tells whether it worked.
  explicit SharedLibrary(const std::string& file);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  /// Whether the library is loaded.
  bool loaded() const { return handle_ != nullptr; }
  /// The platform's handle of the loaded library, or nullptr.
  void* handle() const { return handle_; }
  /// The entry point of this name as a function of type `Function`, or nullptr.
  template <typename Function>
  Function* entry(const char* name) const {
    return reinterpret_cast<Function*>(address(name));
  }

 private:
  void* address(const char* name) const;

  void* handle_ = nullptr;
};

}  // namespace host
