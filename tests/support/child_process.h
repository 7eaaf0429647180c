#pragma once

#include <functional>

// POSIX only: Windows has no fork and no switch of user within a process.
#ifndef _WIN32
namespace TestSupport {

// Runs body in a child process and returns the number it exits with (body's result), or -1 when
// the child died of a signal. Used for tests that change process-wide limits or the user.
int RunInChild(const std::function<int()>& body);

// True when this process may switch to another user (it runs as root).
bool CanDropPrivileges();

// In a child process: becomes the unprivileged user "nobody" (65534). False when it could not.
bool BecomeNobody();

}  // namespace TestSupport
#endif  // _WIN32
