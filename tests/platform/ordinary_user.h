#pragma once
// Checks that need a user without an administrator's rights (permissions mean
// nothing to root). Run as root, the checks run in a forked child that has
// dropped to "nobody"; run as an ordinary user, they run here.
#include <functional>
#include <optional>
#include <string>

#include <grp.h>
#include <pwd.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tavir {

struct OrdinaryUserRun {
  bool Ran = false;      // false: no ordinary user could be had (Why says why)
  std::string Failures;  // what the checks found wrong, empty when nothing
  std::string Why;
};

// `checks` returns what it found wrong, "" when nothing. It must not use the test
// framework's assertions (a child's failures would be lost): it reports in text.
inline OrdinaryUserRun AsOrdinaryUser(const std::function<std::string()>& checks) {
  OrdinaryUserRun run;
  if (::geteuid() != 0) {
    run.Ran = true;
    run.Failures = checks();
    return run;
  }
  const passwd* nobody = ::getpwnam("nobody");
  if (nobody == nullptr) {
    run.Why = "no user \"nobody\"";
    return run;
  }
  const uid_t uid = nobody->pw_uid;
  const gid_t gid = nobody->pw_gid;
  int fds[2];
  if (::pipe(fds) != 0) {
    run.Why = "no pipe";
    return run;
  }
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    run.Why = "no fork";
    return run;
  }
  if (child == 0) {
    ::close(fds[0]);
    std::string text;
    int code = 0;
    if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0 || ::geteuid() == 0) {
      text = "the child could not drop to nobody";
      code = 3;
    } else {
      try {
        text = checks();
      } catch (const std::exception& e) {
        text = std::string("exception: ") + e.what();
      } catch (...) {
        text = "exception";
      }
    }
    for (std::size_t done = 0; done < text.size();) {
      const ssize_t n = ::write(fds[1], text.data() + done, text.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::_exit(code);
  }
  ::close(fds[1]);
  std::string text;
  char buffer[512];
  for (;;) {
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 3) {
    run.Why = text;
    return run;
  }
  run.Ran = true;
  run.Failures = text;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) run.Failures += " (the child did not end normally)";
  return run;
}

}  // namespace tavir
