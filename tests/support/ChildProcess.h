#pragma once
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

namespace ms::test {

// How a body run in a child process ended.
enum class ChildEnd { Passed, Failed, Hung, Crashed };

// In the child: no file may grow beyond `limit` bytes (0: no limit); writes past it fail as on a
// full disk, SIGXFSZ being ignored.
inline void limitFileSize(rlim_t limit) {
    if (limit == 0) return;
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit r{limit, limit};
    setrlimit(RLIMIT_FSIZE, &r);
}

// Starts a child that runs `step` again and again until it is killed (see killAtRandom).
inline pid_t startRepeating(const std::function<void()>& step, rlim_t fileSizeLimit = 0) {
    const pid_t child = fork();
    if (child == 0) {
        limitFileSize(fileSizeLimit);
        for (;;) step();
    }
    return child;
}

// Kills such a child with SIGKILL after `micros` and waits for it.
inline void killAfter(pid_t child, unsigned micros) {
    usleep(micros);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

// Runs `body` in a child process and reports how it ended: Passed when it returned true, Failed
// when it returned false, Hung when it was still running after `seconds`, Crashed otherwise.
// With `fileSizeLimit` > 0 no file of the child may grow beyond that many bytes: writes past it
// fail the way they fail on a full disk (SIGXFSZ is ignored, so the write returns an error
// instead of ending the child). The child has only the calling thread: work that Qt hands to its
// thread pool (converting or scaling large pictures) would wait for ever there, so such pictures
// are made before the call.
inline ChildEnd runInChild(const std::function<bool()>& body, unsigned seconds = 30,
                           rlim_t fileSizeLimit = 0) {
    const pid_t child = fork();
    if (child < 0) return ChildEnd::Crashed;
    if (child == 0) {
        limitFileSize(fileSizeLimit);
        alarm(seconds);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) return WEXITSTATUS(status) == 0 ? ChildEnd::Passed : ChildEnd::Failed;
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) return ChildEnd::Hung;
    return ChildEnd::Crashed;
}

}  // namespace ms::test
