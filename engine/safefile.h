// Replacing a file all or nothing, and why a file operation failed, in Chinese.
// Plain C++ and POSIX: the notebook, the chart and nimbara-calc share it.
#pragma once

#include <string>
#include <string_view>

// The reason for a failed system call, in Chinese, from its errno value; empty
// for 0 (reason unknown). Values without a translation of their own read
// "系统错误 N".
std::string SystemErrorText(int code);

// A file written as a whole or not at all. open() checks the name and creates
// a new, nameless file in the target's folder; write() adds to it; commit()
// puts it on the disk and only then in the target's place. Until commit()
// succeeds the target is untouched, and a failure or a destroyed SafeFile
// leaves no temporary file behind (the new file has no name until commit()).
//
// Only a regular file or a new name is written: a folder, named pipe, device
// or socket is refused, also behind a symbolic link. A symbolic link stays and
// the file it leads to gets the new contents. An existing file keeps its
// permission bits. A file in a folder that may not be written is refused,
// never overwritten in place.
class SafeFile {
public:
    explicit SafeFile(std::string path);
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Everything that can be known before writing: the name, its folder,
    // what is there now. Creates nothing. False with reason().
    bool check();
    // check(), then creates the new file. False with reason().
    bool open();
    // Appends all of `data`; false with reason() once anything failed, and
    // from then on.
    bool write(std::string_view data);
    // Syncs the new file and puts it in the target's place; false with
    // reason(), the target then as it was.
    bool commit();
    // Drops the new file; the target stays as it was.
    void cancel();

    // Why the last step failed, in Chinese, without the file's name.
    const std::string& reason() const { return m_reason; }
    // The file that is replaced: the path with its symbolic links followed.
    const std::string& target() const { return m_target; }
    // True when the target exists and is the file open on `fd` (the same
    // device and inode), or the file at `path`.
    bool isOpenOn(int fd) const;
    bool isFileAt(const std::string& path) const;

private:
    bool fail(std::string reason);
    bool failWith(int error);
    bool resolve();
    bool checkTarget();

    std::string m_path;
    std::string m_target;
    std::string m_folder;
    std::string m_reason;
    int m_fd = -1;
    std::string m_tempName;  // only where the system has no nameless files
    bool m_failed = false;
};
