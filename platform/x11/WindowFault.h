#pragma once

namespace tilewise::x11 {

/// Why an operation on another client's window failed.
enum class WindowFault {
    vanished,  ///< the window no longer exists
    noAnswer,  ///< the window manager did not answer before the deadline
};

}  // namespace tilewise::x11
