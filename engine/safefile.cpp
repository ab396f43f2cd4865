// Replacing a file all or nothing, and the Chinese reasons for failed file operations.
#include "safefile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

std::string SystemErrorText(int code)
{
    switch (code) {
    case 0: return {};
    case ENOENT: return "文件不存在";
    case EACCES:
    case EPERM: return "没有权限";
    case EISDIR: return "这是一个文件夹";
    case ENOTDIR: return "路径中有一部分不是文件夹";
    case EIO: return "输入/输出错误";
    case EBADF: return "文件描述符无效（没有打开）";
    case ENOSPC: return "磁盘空间不足";
    case EDQUOT: return "超出了磁盘配额";
    case EFBIG: return "文件太大";
    case EROFS: return "文件系统是只读的";
    case EPIPE: return "管道的另一端已经关闭";
    case ECONNRESET: return "连接被对方重置";
    case EAGAIN: return "暂时无法读写（非阻塞的输入或输出）";
    case EINVAL: return "无效的参数";
    case ENXIO:
    case ENODEV: return "设备不存在";
    case EMFILE:
    case ENFILE: return "打开的文件太多";
    case ENAMETOOLONG: return "文件名太长";
    case ENOMEM: return "内存不足";
    case ELOOP: return "符号链接太多，或链接成环";
    case EBUSY: return "文件正被占用";
    case ETXTBSY: return "文件是正在运行的程序";
    case EXDEV: return "不能跨文件系统替换文件";
    case EMLINK: return "链接数太多";
    case EINTR: return "操作被信号打断";
    case ESTALE: return "网络文件已失效";
    case EOPNOTSUPP: return "文件系统不支持这个操作";
    case ETIMEDOUT: return "操作超时";
    default: break;
    }
    return "系统错误 " + std::to_string(code);
}

namespace {

// Symbolic links followed before the chain counts as a loop, as the system does.
constexpr int kMaxLinks = 40;

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string quoted(const std::string& text)
{
    return "“" + text + "”";
}

// A name for the new file beside the target, of a fixed length, so that a
// target name of the longest allowed length still leaves room for it.
std::string temporaryName(const std::string& folder)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = folder + (folder == "/" ? "" : "/") + ".nimbara-";
    for (int i = 0; i < 8; ++i)
        name += kLetters[random() % (sizeof kLetters - 1)];
    return name + ".tmp";
}

std::string specialKind(mode_t mode)
{
    if (S_ISFIFO(mode))
        return "命名管道（FIFO）";
    if (S_ISCHR(mode))
        return "字符设备";
    if (S_ISBLK(mode))
        return "块设备";
    if (S_ISSOCK(mode))
        return "套接字";
    return "特殊文件";
}

}  // namespace

SafeFile::SafeFile(std::string path) : m_path(std::move(path)) {}

SafeFile::~SafeFile()
{
    cancel();
}

bool SafeFile::fail(std::string reason)
{
    m_reason = std::move(reason);
    m_failed = true;
    return false;
}

bool SafeFile::failWith(int error)
{
    return fail(SystemErrorText(error));
}

// The target: the path made absolute, its symbolic links followed.
bool SafeFile::resolve()
{
    if (m_path.empty())
        return fail("没有给出文件名");
    // The system ends a name at a NUL character: the file of the shorter name
    // would be written instead.
    if (m_path.find('\0') != std::string::npos)
        return fail("文件名中含有不允许使用的字符（NUL）");
    std::string path = m_path;
    if (path.front() != '/') {
        char cwd[PATH_MAX];
        if (!::getcwd(cwd, sizeof cwd))
            return failWith(errno);
        path = std::string(cwd) + (cwd[1] ? "/" : "") + path;
    }
    for (int hops = 0;; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) {
            // A new name, or a folder that is missing or not one: the checks
            // of the folder say which.
            if (errno == ENOENT || errno == ENOTDIR)
                break;
            return failWith(errno);
        }
        if (!S_ISLNK(st.st_mode))
            break;
        if (hops == kMaxLinks)
            return failWith(ELOOP);
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n < 0)
            return failWith(errno);
        link.resize(static_cast<std::size_t>(n));
        path = !link.empty() && link.front() == '/' ? link : folderOf(path) + "/" + link;
    }
    m_target = path;
    m_folder = folderOf(path);
    return true;
}

// What the target and its folder allow now.
bool SafeFile::checkTarget()
{
    const std::string name = m_target.substr(m_target.rfind('/') + 1);
    if (name.empty() || name == "." || name == "..")
        return fail("这是一个文件夹的名称");
    if (name.size() > NAME_MAX)
        return fail("文件名太长（最长 " + std::to_string(NAME_MAX) + " 字节）");
    if (m_target.size() >= PATH_MAX)
        return fail("路径太长（最长 " + std::to_string(PATH_MAX - 1) + " 字节）");

    struct stat folder;
    if (::stat(m_folder.c_str(), &folder) != 0) {
        if (errno == ENOENT)
            return fail("所在的文件夹" + quoted(m_folder) + "不存在");
        if (errno == ENOTDIR)
            return fail("路径" + quoted(m_folder) + "中有一部分不是文件夹");
        return failWith(errno);
    }
    if (!S_ISDIR(folder.st_mode))
        return fail(quoted(m_folder) + "不是文件夹");

    struct stat st;
    const bool exists = ::lstat(m_target.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode))
            return fail("这是一个文件夹的名称");
        // Replacing a pipe or a device would turn it into a plain file (as
        // root even /dev/null).
        if (!S_ISREG(st.st_mode))
            return fail("这是一个" + specialKind(st.st_mode) + "，不是普通文件；只能写入普通文件");
        if (::faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0) {
            if (errno == EACCES || errno == EPERM)
                return fail("这个文件是只读的");
            if (errno == EROFS)
                return fail("文件所在的文件系统是只读的");
            return failWith(errno);
        }
    }
    if (::faccessat(AT_FDCWD, m_folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        if (errno == EROFS)
            return fail("文件夹" + quoted(m_folder) + "所在的文件系统是只读的");
        if (errno != EACCES && errno != EPERM)
            return failWith(errno);
        // The new contents go to a new file beside the old one, which then
        // takes its place; writing into the old file instead would leave it
        // cut short by a failure half-way.
        if (exists)
            return fail("文件夹" + quoted(m_folder) + "不允许写入，无法安全地替换" + quoted(name)
                        + "；请另存到可写的文件夹");
        return fail("没有在文件夹" + quoted(m_folder) + "中写入的权限");
    }
    return true;
}

bool SafeFile::check()
{
    m_failed = false;
    m_reason.clear();
    return resolve() && checkTarget();
}

bool SafeFile::open()
{
    cancel();
    if (!check())
        return false;
    // A nameless file vanishes with the process, even one killed mid-write.
    m_fd = ::open(m_folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (m_fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            m_tempName = temporaryName(m_folder);
            m_fd = ::open(m_tempName.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            if (m_fd < 0 && errno != EEXIST)
                break;
        }
        if (m_fd < 0)
            m_tempName.clear();
    }
    if (m_fd < 0)
        return failWith(errno);
    struct stat st;
    if (::stat(m_target.c_str(), &st) == 0)
        static_cast<void>(::fchmod(m_fd, st.st_mode & 07777));
    return true;
}

bool SafeFile::write(std::string_view data)
{
    if (m_failed)
        return false;
    if (m_fd < 0)
        return fail("文件没有打开");
    while (!data.empty()) {
        const ssize_t n = ::write(m_fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        // A write cut short to nothing means the disk is full.
        if (n <= 0)
            return failWith(n < 0 ? errno : ENOSPC);
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool SafeFile::commit()
{
    if (m_failed || m_fd < 0) {
        if (!m_failed)
            fail("文件没有打开");
        cancel();
        return false;
    }
    // Some file systems report a write they cannot keep only when the data
    // goes to the disk.
    if (::fsync(m_fd) != 0) {
        failWith(errno);
        cancel();
        return false;
    }
    // The name may have been taken by a folder, pipe or device meanwhile.
    if (!checkTarget()) {
        cancel();
        return false;
    }
    if (m_tempName.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
        int error = EEXIST;
        for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
            m_tempName = temporaryName(m_folder);
            error = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, m_tempName.c_str(), AT_SYMLINK_FOLLOW) == 0
                        ? 0
                        : errno;
            // Without /proc, linking by descriptor needs root's rights.
            if (error == ENOENT)
                error = ::linkat(m_fd, "", AT_FDCWD, m_tempName.c_str(), AT_EMPTY_PATH) == 0 ? 0 : errno;
        }
        if (error != 0) {
            m_tempName.clear();
            failWith(error);
            cancel();
            return false;
        }
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        failWith(errno);
        cancel();
        return false;
    }
    if (::rename(m_tempName.c_str(), m_target.c_str()) != 0) {
        failWith(errno);
        cancel();
        return false;
    }
    m_tempName.clear();
    // The new name on the disk too, so that a crash does not bring back the old file.
    const int folder = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        static_cast<void>(::fsync(folder));
        ::close(folder);
    }
    return true;
}

void SafeFile::cancel()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempName.empty()) {
        ::unlink(m_tempName.c_str());
        m_tempName.clear();
    }
}

bool SafeFile::isOpenOn(int fd) const
{
    struct stat a, b;
    return !m_target.empty() && ::stat(m_target.c_str(), &a) == 0 && ::fstat(fd, &b) == 0
           && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool SafeFile::isFileAt(const std::string& path) const
{
    struct stat a, b;
    return !m_target.empty() && ::stat(m_target.c_str(), &a) == 0 && ::stat(path.c_str(), &b) == 0
           && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
