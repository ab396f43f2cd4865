#include "process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Pipe {
    int fd[2] = {-1, -1};
    Pipe()
    {
        if (pipe2(fd, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe failed");
    }
    ~Pipe() { closeBoth(); }
    void close(int i)
    {
        if (fd[i] >= 0)
            ::close(fd[i]);
        fd[i] = -1;
    }
    void closeBoth()
    {
        close(0);
        close(1);
    }
};

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input)
{
    // Writing to a child that has stopped reading must not kill the test.
    std::signal(SIGPIPE, SIG_IGN);

    Pipe in, out, err;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.fd[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out.fd[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err.fd[1], 2);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + program);
    in.close(0);
    out.close(1);
    err.close(1);

    ProcessResult result;
    std::size_t written = 0;
    if (input.empty())
        in.close(1);
    else
        fcntl(in.fd[1], F_SETFL, O_NONBLOCK);

    while (out.fd[0] >= 0 || err.fd[0] >= 0) {
        pollfd fds[3];
        int n = 0;
        int outIndex = -1, errIndex = -1, inIndex = -1;
        if (out.fd[0] >= 0) {
            outIndex = n;
            fds[n++] = {out.fd[0], POLLIN, 0};
        }
        if (err.fd[0] >= 0) {
            errIndex = n;
            fds[n++] = {err.fd[0], POLLIN, 0};
        }
        if (in.fd[1] >= 0) {
            inIndex = n;
            fds[n++] = {in.fd[1], POLLOUT, 0};
        }
        const int ready = poll(fds, static_cast<nfds_t>(n), 30000);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {  // nothing for 30 s: end the child rather than hang
            kill(pid, SIGKILL);
            break;
        }
        char buffer[65536];
        auto drain = [&](int index, Pipe& pipe, std::string& into) {
            if (index < 0 || !(fds[index].revents & (POLLIN | POLLHUP | POLLERR)))
                return;
            const ssize_t got = read(pipe.fd[0], buffer, sizeof buffer);
            if (got > 0)
                into.append(buffer, static_cast<std::size_t>(got));
            else if (got == 0 || errno != EINTR)
                pipe.close(0);
        };
        drain(outIndex, out, result.out);
        drain(errIndex, err, result.err);
        if (inIndex >= 0 && (fds[inIndex].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t put = write(in.fd[1], input.data() + written, input.size() - written);
            if (put > 0)
                written += static_cast<std::size_t>(put);
            if (put < 0 && errno != EAGAIN && errno != EINTR)
                in.close(1);
            if (written == input.size())
                in.close(1);
        }
    }
    in.closeBoth();

    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}
