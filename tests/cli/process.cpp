// Runs nimbara-calc as a child process for the end-to-end tests.
#include "process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kPatienceMs = 30000;

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// This process's environment with `extra` added; an entry of the same name is replaced.
std::vector<std::string> environmentWith(const std::vector<std::string>& extra)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const std::string& x : extra)
            replaced = replaced || x.rfind(name, 0) == 0;
        if (!replaced)
            env.push_back(entry);
    }
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> p;
    for (std::string& s : strings)
        p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

}  // namespace

Child::Child(const std::string& program, const std::vector<std::string>& args,
             const ProcessOptions& options)
{
    // Writing to a child that has stopped reading must not kill the test.
    std::signal(SIGPIPE, SIG_IGN);

    int in[2] = {-1, -1}, out[2] = {-1, -1}, err[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.stdinClosed) {
        posix_spawn_file_actions_addclose(&actions, 0);
    } else if (!options.stdinPath.empty()) {
        posix_spawn_file_actions_addopen(&actions, 0, options.stdinPath.c_str(), O_RDONLY, 0);
    } else {
        if (pipe2(in, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    }
    if (!options.stdoutPath.empty()) {
        posix_spawn_file_actions_addopen(&actions, 1, options.stdoutPath.c_str(), O_WRONLY, 0);
    } else {
        if (pipe2(out, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    }
    if (pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (!options.ignoreSigpipe) {
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    }

    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<std::string> envStrings = environmentWith(options.environment);
    const std::vector<char*> argv = pointers(argStrings);
    const std::vector<char*> envp = pointers(envStrings);

    const int rc = posix_spawn(&m_pid, program.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    closeFd(in[0]);
    closeFd(out[1]);
    closeFd(err[1]);
    m_in = in[1];
    m_outFd = out[0];
    m_errFd = err[0];
    if (rc != 0) {
        m_pid = -1;
        throw std::runtime_error("cannot start " + program);
    }
    if (m_in >= 0)
        fcntl(m_in, F_SETFL, O_NONBLOCK);
}

Child::~Child()
{
    closeFd(m_in);
    closeFd(m_outFd);
    closeFd(m_errFd);
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}

// Moves data until done() holds: `pending` into standard input, both outputs
// into m_out and m_err. False when nothing moved for kPatienceMs (the child is
// then killed) or nothing is left to wait on.
template <typename Done>
bool Child::pump(std::string_view& pending, Done done)
{
    while (!done()) {
        pollfd fds[3];
        int* owners[3];
        nfds_t n = 0;
        for (int* fd : {&m_outFd, &m_errFd}) {
            if (*fd >= 0) {
                owners[n] = fd;
                fds[n++] = {*fd, POLLIN, 0};
            }
        }
        if (m_in >= 0 && !pending.empty()) {
            owners[n] = &m_in;
            fds[n++] = {m_in, POLLOUT, 0};
        }
        if (n == 0)
            return false;
        const int ready = poll(fds, n, kPatienceMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            kill(m_pid, SIGKILL);
            return false;
        }
        for (nfds_t i = 0; i < n; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLOUT | POLLHUP | POLLERR)))
                continue;
            int& fd = *owners[i];
            if (&fd == &m_in) {
                const ssize_t put = ::write(fd, pending.data(), pending.size());
                if (put > 0)
                    pending.remove_prefix(static_cast<std::size_t>(put));
                else if (put < 0 && errno != EAGAIN && errno != EINTR)
                    closeFd(fd);  // the child no longer reads
                continue;
            }
            char buffer[65536];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got > 0)
                (&fd == &m_outFd ? m_out : m_err).append(buffer, static_cast<std::size_t>(got));
            else if (got == 0 || errno != EINTR)
                closeFd(fd);
        }
    }
    return true;
}

bool Child::write(std::string_view data)
{
    pump(data, [&] { return data.empty() || m_in < 0; });
    return data.empty();
}

void Child::closeInput()
{
    closeFd(m_in);
}

void Child::closeOutput()
{
    closeFd(m_outFd);
}

bool Child::waitForOutput(std::string_view text)
{
    std::string_view none;
    return pump(none, [&] { return m_out.find(text) != std::string::npos; });
}

ProcessResult Child::finish(std::string_view input)
{
    pump(input, [&] {
        if (input.empty())
            closeFd(m_in);
        return m_outFd < 0 && m_errFd < 0;
    });
    closeFd(m_in);
    closeFd(m_outFd);
    closeFd(m_errFd);

    ProcessResult result;
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = std::move(m_out);
    result.err = std::move(m_err);
    return result;
}

long Child::peakRssKiB() const
{
    std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input, const ProcessOptions& options)
{
    return Child(program, args, options).finish(input);
}

TempFolder::TempFolder()
{
    std::string pattern = testing::TempDir() + "nimbara_XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        ADD_FAILURE() << "cannot make a temporary folder from " << pattern;
    m_dir = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}
