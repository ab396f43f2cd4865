// The notebook record of the calculation window: its date and its sixteen lines.
#pragma once

#include <functional>

#include <QDate>
#include <QLocale>
#include <QString>

#include "calculate.h"

// The date of a notebook record: four-digit year, two-digit month and day, in
// that order whatever the locale's own order, joined by the locale's date
// separator ("/" when its short date format has none).
QString RecordDate(const QDate& date, const QLocale& locale);

// The sixteen-line record of what the calculation window shows: heading, date
// line, empty line, the twelve value lines, empty line; each line ends with a
// single line feed. boxText(n) returns the text of box Textn as it stands; the
// texts are copied unchanged, empty or not numbers.
QString ComposeRecord(InputMode mode, const std::function<QString(int box)>& boxText,
                      const QDate& date, const QLocale& locale = QLocale::system());
