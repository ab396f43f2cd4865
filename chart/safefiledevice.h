// A Qt output device over SafeFile, for writers that stream (the PDF writer, the PNG encoder).
#pragma once

#include <QIODevice>

#include "safefile.h"

// Unbuffered: every write reaches SafeFile at once and a failure sticks, so
// that nothing is lost between a failed write and the check before commit().
class SafeFileDevice : public QIODevice {
public:
    explicit SafeFileDevice(SafeFile& file);
    bool isSequential() const override { return true; }
    // True when every write so far reached the file.
    bool intact() const { return !m_failed; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    SafeFile& m_file;
    bool m_failed = false;
};
