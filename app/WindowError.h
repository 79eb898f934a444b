#pragma once

#include <string>

#include "platform/Accessibility.h"

namespace tilewise {

/// Why capturing or arranging a window failed; each case has a fixed sentence for the user.
class WindowError {
  public:
    enum class Kind {
        accessibility,  ///< an Accessibility status without a case of its own; see code()
        permissionMissing,
        noFrontmostApp,
        tilewiseItself,
        noWindow,
        minimized,
        fullScreen,
        notResizable,
        appUnresponsive,
        windowClosed,
        superseded,
    };

    /// Any case but `accessibility`, which carries a code.
    constexpr WindowError(Kind kind) : kind_(kind) {}
    static constexpr WindowError accessibility(AXError code) {
        WindowError error{Kind::accessibility};
        error.code_ = code;
        return error;
    }

    Kind kind() const { return kind_; }
    /// The Accessibility status of an `accessibility` error; 0 for the other cases.
    AXError code() const { return code_; }
    std::string userDescription() const;

    bool operator==(const WindowError&) const = default;

  private:
    Kind kind_;
    AXError code_ = 0;
};

}  // namespace tilewise
