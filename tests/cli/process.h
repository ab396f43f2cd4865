// Runs nimbara-calc as a child process for the end-to-end tests, every wait bounded.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

// What a finished child process left behind.
struct ProcessResult {
    int exitCode = -1;  // −1 when it did not exit normally (killed by a signal)
    std::string out;
    std::string err;
};

struct ProcessOptions {
    std::string stdinPath;     // standard input from this file instead of a pipe
    bool stdinClosed = false;  // start with no standard input at all
    std::string stdoutPath;    // standard output to this file (/dev/full, say) instead of a pipe
    bool ignoreSigpipe = false;  // as under systemd; otherwise SIGPIPE kills, as from a shell
    std::vector<std::string> environment;  // NAME=value, added to this process's or replacing it
};

// A running child with pipes to its standard input and from its standard
// output and error (unless the options redirect them). Every wait is bounded:
// after 30 s with nothing moving the child is killed and the wait fails, so a
// test that would hang fails instead.
class Child {
public:
    Child(const std::string& program, const std::vector<std::string>& args,
          const ProcessOptions& options = {});
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Writes all of `data` to standard input; false when the child stopped
    // reading (or the wait ran out).
    bool write(std::string_view data);
    void closeInput();
    // Closes the reading end of standard output: the child's next write to it
    // finds no reader (EPIPE, or SIGPIPE).
    void closeOutput();
    // Collects standard output until it holds `text`; false when the output
    // ends or the wait runs out first.
    bool waitForOutput(std::string_view text);
    const std::string& out() const { return m_out; }
    // The child's peak resident memory so far (VmHWM), −1 when unknown. Its
    // exit status cannot tell: a spawned child's ru_maxrss starts from the
    // peak of the process that spawned it, the test program's own.
    long peakRssKiB() const;

    // Writes `input`, closes standard input, collects both outputs until they
    // end and reaps the child.
    ProcessResult finish(std::string_view input = {});

private:
    template <typename Done>
    bool pump(std::string_view& pending, Done done);

    pid_t m_pid = -1;
    int m_in = -1, m_outFd = -1, m_errFd = -1;
    std::string m_out, m_err;
};

// A folder of the test's own under the temporary directory, made with a
// unique name and removed with everything in it when the object goes: two
// runs of the tests at once, or another user's, never meet in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& dir() const { return m_dir; }
    std::string path(const std::string& name) const { return m_dir + "/" + name; }

private:
    std::string m_dir;
};

// Runs `program` with `args`, feeds `input` to its standard input and collects
// its standard output and error until it ends.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = {}, const ProcessOptions& options = {});
