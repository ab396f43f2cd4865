// Reasons for failed reads and writes in Chinese, and writing with a report.
#include "io_errors.h"

#include <cerrno>

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
