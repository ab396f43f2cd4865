// The chart file of a nimbara-calc run.
#include "chart_output.h"

#include <QGuiApplication>

#include <unistd.h>

#include "chartfile.h"
#include "printable.h"

namespace {

char kProgram[] = "nimbara-calc";
char kPlatformOption[] = "-platform";
char kOffscreen[] = "offscreen";

void dropQtMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

ChartOutput::ChartOutput(const std::string& path)
    : m_path(path), m_argv{kProgram, kPlatformOption, kOffscreen, nullptr}
{
}

ChartOutput::~ChartOutput()
{
    m_file.reset();
    m_app.reset();
    if (m_quietened)
        qInstallMessageHandler(m_previousHandler);
}

bool ChartOutput::open(std::ostream& err, const std::optional<std::string>& batchInput)
{
    // Such as "QStandardPaths: XDG_RUNTIME_DIR not set", which says nothing
    // about the chart.
    m_previousHandler = qInstallMessageHandler(dropQtMessage);
    m_quietened = true;
    if (!QCoreApplication::instance())
        m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
    m_file = std::make_unique<ChartFile>(QString::fromStdString(m_path));
    if (!m_file->open()) {
        err << "nimbara-calc：" << Printable(m_file->errorMessage().toStdString()) << '\n';
        return false;
    }
    const SafeFile& file = m_file->file();
    const char* overwritten = nullptr;
    if (file.isOpenOn(STDOUT_FILENO))
        overwritten = "就是标准输出所写的文件，写入图表会覆盖计算结果";
    else if (batchInput && (batchInput->empty() || *batchInput == "-" ? file.isOpenOn(STDIN_FILENO)
                                                                       : file.isFileAt(*batchInput)))
        overwritten = "就是批量计算读入的文件，写入图表会覆盖读入的数据";
    if (overwritten) {
        err << "nimbara-calc：图表文件“" << Printable(m_path) << "”" << overwritten << "；请换一个文件名\n";
        m_file.reset();
        return false;
    }
    return true;
}

bool ChartOutput::write(const ChartContent& content, std::ostream& err)
{
    if (!m_file || !m_file->write(content)) {
        err << "nimbara-calc："
            << (m_file ? Printable(m_file->errorMessage().toStdString()) : std::string("图表文件未打开")) << '\n';
        return false;
    }
    return true;
}
