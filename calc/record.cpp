// The notebook record: the date in the locale's separator and the sixteen lines of the window's boxes.
#include "record.h"

#include "boxes.h"
#include "record_lines.h"

namespace {

// The separator is whatever stands between the first two fields of the
// locale's short date format ("yyyy/M/d", "dd.MM.yy", "M/d/yy", "yyyy. MM. dd.");
// quoted literals and field letters are skipped. Blanks alone do not make a
// separator: a format such as "d MMM yyyy" keeps the slash.
QChar dateSeparator(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    bool inField = false;
    for (const QChar c : format) {
        if (c.isSpace())
            continue;
        if (c.isLetter() || c == u'\'') {
            inField = inField || c.isLetter();
            continue;
        }
        if (inField)
            return c;
    }
    return u'/';
}

}  // namespace

QString RecordDate(const QDate& date, const QLocale& locale)
{
    const QChar sep = dateSeparator(locale);
    const auto padded = [](int value, int width) {
        return QStringLiteral("%1").arg(value, width, 10, QChar(u'0'));
    };
    return padded(date.year(), 4) + sep + padded(date.month(), 2) + sep + padded(date.day(), 2);
}

QString ComposeRecord(InputMode mode, const std::function<QString(int box)>& boxText,
                      const QDate& date, const QLocale& locale)
{
    QString record = QStringLiteral("Nimbara如下：\n（计算时间：") + RecordDate(date, locale)
                     + QStringLiteral(")\n\n");
    for (const RecordLine& line : kRecordLines) {
        record += QString::fromUtf8(line.prefix);
        record += boxText(BoxOf(line.quantity, mode));
        record += QString::fromUtf8(line.suffix);
        record += u'\n';
    }
    record += u'\n';
    return record;
}
