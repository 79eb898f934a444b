#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tilewise::testing {

/// A program the X11 tests start, talked to through its standard input and output. Ending it
/// closes its input and waits (up to a deadline) for it to close its output, then sends
/// SIGTERM and reaps it.
class ChildProcess {
  public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    pid_t pid() const { return pid_; }
    /// The next line the program prints, without its newline; absent when it ended or the
    /// deadline passed first.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);
    void writeLine(const std::string& line);
    /// Ends the program and returns its wait status.
    int terminate();

  private:
    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string buffered_;
};

/// Runs a program to its end and returns its exit status (-1 when it could not run).
int runProgram(const std::vector<std::string>& arguments);

}  // namespace tilewise::testing
