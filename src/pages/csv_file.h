#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Tables the engineer takes elsewhere (a record list, a batch report) as CSV.

namespace vexa {

// RFC 4180: a field that holds a comma, a double quote or a line break is put
// in double quotes, its quotes doubled; lines end with CR LF; UTF-8. A field
// that starts with "=", "+", "-" or "@" and is not a number gets a leading
// apostrophe, so that a spreadsheet shows it as text instead of running it.
QByteArray CsvText(const QList<QStringList>& rows);

// Replaces the file at `path` by the rows so that it is never seen half
// written; false, with the old file untouched, when it cannot be written.
bool SaveCsvFile(const QString& path, const QList<QStringList>& rows);

}  // namespace vexa
