// The chart file of a nimbara-calc run, with the Qt application that drawing needs.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include <QtMessageHandler>

#include "chartcontent.h"

class ChartFile;
class QGuiApplication;

// Made only when a chart is asked for, so that plain calculations start
// without Qt. Creates a QGuiApplication on the offscreen platform (no
// display needed) unless one exists, and keeps Qt's own diagnostics off
// standard error while it lives: the program's messages are its own.
class ChartOutput {
public:
    explicit ChartOutput(const std::string& path);
    ~ChartOutput();
    ChartOutput(const ChartOutput&) = delete;
    ChartOutput& operator=(const ChartOutput&) = delete;

    // Checks the path and opens the new file before anything else is
    // written; false with the reason on `err`. A chart must not replace the
    // file the results go to (standard output), nor the one read (the
    // batch's or the design's): `batchInput` names it, empty or "-" for
    // standard input.
    bool open(std::ostream& err, const std::optional<std::string>& batchInput = std::nullopt);
    // Draws and commits the chart; false with the reason on `err`, and no file.
    bool write(const ChartContent& content, std::ostream& err);

private:
    std::string m_path;
    int m_argc = 3;
    char* m_argv[4];
    QtMessageHandler m_previousHandler = nullptr;
    bool m_quietened = false;
    std::unique_ptr<QGuiApplication> m_app;
    std::unique_ptr<ChartFile> m_file;
};
