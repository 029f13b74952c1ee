#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>

namespace lw::test {

// The user and group "nobody" that unprivilegedRun switches to.
inline constexpr uid_t kNobody = 65534;
inline constexpr gid_t kNoGroup = 65534;

// Runs `fn` in a child process as the user nobody when this process is root (as in CI, where
// permissions stop nothing), else as this user, and returns the text it returned; nullopt when
// the child could not give up root's rights or did not end normally. The child only runs `fn`
// and writes its result to a pipe: test assertions belong in the parent.
inline std::optional<std::string> unprivilegedRun(const std::function<std::string()>& fn) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(kNoGroup, kNoGroup, kNoGroup) != 0 ||
             ::setresuid(kNobody, kNobody, kNobody) != 0)) {
            ::_exit(2);
        }
        const std::string out = fn();
        const bool sent =
            ::write(pipeFds[1], out.data(), out.size()) == static_cast<ssize_t>(out.size());
        ::_exit(sent ? 0 : 3);
    }
    ::close(pipeFds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return out;
}

}  // namespace lw::test
