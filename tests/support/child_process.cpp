#include "support/child_process.h"

// Child processes and users are POSIX notions; the tests that need them run on POSIX only.
#ifndef _WIN32

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace TestSupport {

int RunInChild(const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) _exit(body());
  int status = 0;
  if (waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool CanDropPrivileges() {
  return geteuid() == 0;
}

bool BecomeNobody() {
  constexpr gid_t kNobodyGroup = 65534;
  constexpr uid_t kNobody = 65534;
  return setgroups(0, nullptr) == 0 && setresgid(kNobodyGroup, kNobodyGroup, kNobodyGroup) == 0 &&
         setresuid(kNobody, kNobody, kNobody) == 0;
}

}  // namespace TestSupport

#endif  // _WIN32
