// Reading and writing whole files in the save tests.
#pragma once

#include <QByteArray>
#include <QString>

// The file's contents; empty when it cannot be read.
QByteArray contentsOf(const QString& path);

// Writes data as the whole file; false unless all of it reached the file.
bool writeFile(const QString& path, const QByteArray& data);
