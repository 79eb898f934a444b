#pragma once

namespace tilewise {

/// A system library opened when the program first needs it rather than when it starts, so that
/// a one-off command loads only the libraries it calls. It stays loaded until the process ends.
class SharedLibrary {
  public:
    /// Opens the library of that name ("libXRes.so.1") if it is installed.
    explicit SharedLibrary(const char* soname);
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    /// The library's function `name`, of the type its header declares (`decltype(name)`); null
    /// when the library or the function is missing.
    template <typename Function>
    Function* function(const char* name) const {
        return reinterpret_cast<Function*>(symbol(name));
    }

  private:
    void* symbol(const char* name) const;

    void* handle_;
};

}  // namespace tilewise
