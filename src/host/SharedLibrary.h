#pragma once

#include <string>

namespace host {

/// A platform library loaded from a file for the lifetime of the object.
class SharedLibrary {
 public:
  /// Loads `file` (its name resolved without regard to case); Loaded() tells whether it worked.
  explicit SharedLibrary(const std::string& file);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  /// Whether the library is loaded.
  bool Loaded() const { return handle_ != nullptr; }
  /// The platform's handle of the loaded library, or nullptr.
  void* Handle() const { return handle_; }
  /// The entry point of this name as a function of type `Function`, or nullptr.
  template <typename Function>
  Function* Entry(const char* name) const {
    return reinterpret_cast<Function*>(Address(name));
  }

 private:
  void* Address(const char* name) const;

  void* handle_ = nullptr;
};

}  // namespace host
