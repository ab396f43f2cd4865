// Files, folders and file systems in the save tests: contents, snapshots, a small or full disk.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <QtGlobal>

// The file's contents; empty when it cannot be read.
QByteArray contentsOf(const QString& path);

// Writes data as the whole file; false unless all of it reached the file.
bool writeFile(const QString& path, const QByteArray& data);

// Every file and folder under path with its contents, to see that nothing
// appeared, vanished or changed.
QMap<QString, QByteArray> snapshot(const QString& path);

// Mounts a tmpfs of that many bytes on path (needs root, or a mount namespace
// of the test's own).
bool mountTmpfs(const QString& path, qint64 bytes);

struct Space {
    qint64 free = -1;  // bytes free for an unprivileged writer; -1 when unknown
    qint64 block = 0;  // the file system's block size
};

Space spaceOf(const QString& path);

// Fills the file system at place, then gives exactly `free` bytes (whole
// blocks) back.
bool fillLeaving(const QString& place, qint64 free);
