// A Qt output device over SafeFile.
#include "safefiledevice.h"

#include <string_view>

SafeFileDevice::SafeFileDevice(SafeFile& file) : m_file(file)
{
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 SafeFileDevice::writeData(const char* data, qint64 size)
{
    if (m_failed || !m_file.write(std::string_view(data, static_cast<std::size_t>(size)))) {
        m_failed = true;
        setErrorString(QString::fromStdString(m_file.reason()));
        return -1;
    }
    return size;
}
