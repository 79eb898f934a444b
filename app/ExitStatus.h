#pragma once

namespace tilewise::ExitStatus {

/// The exit statuses of every `tilewise` command, whether this process or the running instance
/// did the work.
inline constexpr int success = 0;
/// The request was understood but did not end as asked (a window not placed exactly, a file
/// that cannot be read, an unknown layout).
inline constexpr int failure = 1;
/// The command line itself was wrong.
inline constexpr int usage = 2;

}  // namespace tilewise::ExitStatus
