// Reasons for failed reads and writes in Chinese, and writing with a report.
#include "io_errors.h"

#include <cerrno>
#include <cstring>

std::string SystemErrorText(int code)
{
    switch (code) {
    case 0: return {};
    case ENOENT: return "文件不存在";
    case EACCES:
    case EPERM: return "没有权限";
    case EISDIR: return "这是一个目录";
    case ENOTDIR: return "路径中有一部分不是目录";
    case EIO: return "输入/输出错误";
    case EBADF: return "文件描述符无效（没有打开）";
    case ENOSPC: return "磁盘空间不足";
    case EDQUOT: return "超出磁盘配额";
    case EFBIG: return "文件过大";
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
    default: break;
    }
    return "系统错误 " + std::to_string(code) + "（" + std::strerror(code) + "）";
}

std::string ReasonSuffix(int code)
{
    const std::string reason = SystemErrorText(code);
    return reason.empty() ? reason : "：" + reason;
}

bool WriteText(std::ostream& out, std::string_view text, std::ostream& err, std::string_view what)
{
    errno = 0;  // a file buffer's failed write() leaves its errno; other streams none
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (out)
        return true;
    err << "nimbara-calc：写出" << what << "时出错" << ReasonSuffix(errno) << '\n';
    return false;
}
