// Files, folders and file systems in the save tests.
#include "testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <sys/mount.h>
#include <sys/statvfs.h>

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.flush();
}

QMap<QString, QByteArray> snapshot(const QString& path)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray what;
        if (info.isSymLink())
            what = "<link to " + info.symLinkTarget().toUtf8() + ">";
        else if (info.isDir())
            what = "<folder>";
        else if (info.isFile())
            what = contentsOf(entry);
        else
            what = "<special>";  // a pipe or device: opening it could block
        entries.insert(entry, what);
    }
    return entries;
}

bool mountTmpfs(const QString& path, qint64 bytes)
{
    const QByteArray options = "size=" + QByteArray::number(bytes);
    return ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, options.constData()) == 0;
}

Space spaceOf(const QString& path)
{
    struct statvfs st;
    if (::statvfs(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {qint64(st.f_bavail) * qint64(st.f_frsize), qint64(st.f_frsize)};
}

bool fillLeaving(const QString& place, qint64 free)
{
    QFile filler(place + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(int(spaceOf(place).block), 'x');
    while (filler.write(block) == block.size()) {
    }
    if (spaceOf(place).free != 0 || !filler.resize(filler.size() - free))
        return false;
    filler.close();
    return spaceOf(place).free == free;
}
