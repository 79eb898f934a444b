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
    Function* function(const char* name) {
        return reinterpret_cast<Function*>(symbol(name));
    }
    /// True when the library is there with every function asked for so far.
    bool complete() const { return handle_ != nullptr && !missing_; }

  private:
    void* symbol(const char* name);

    void* handle_;
    bool missing_ = false;
};

}  // namespace tilewise

/// In a struct whose `SharedLibrary library` comes first: a member named after the library's
/// function `name` that points to it, as the library's header declares it.
#define TILEWISE_LIBRARY_FUNCTION(name) \
    decltype(&::name) name = library.function<decltype(::name)>(#name)
