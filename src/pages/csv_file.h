#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <ctime>
#include <string>

#include "xml/whole_file.h"

// Tables the engineer takes elsewhere (a record list, a batch report) as CSV.

namespace vexa {

// RFC 4180: a field that holds a comma, a double quote or a line break is put
// in double quotes, its quotes doubled; lines end with CR LF; UTF-8. A field
// that starts with "=", "+", "-" or "@" and is not a number gets a leading
// apostrophe, so that a spreadsheet shows it as text instead of running it.
QByteArray CsvText(const QList<QStringList>& rows);

// What saving a CSV file to `path` (a file system name) would change: a link
// there may lead only to an existing ".csv" file.
SaveTarget CsvSaveTarget(const std::string& path);

// Replaces the file at `path` by the rows so that it is never seen half
// written; false, with the old file untouched, when it cannot be written or
// CsvSaveTarget refuses.
bool SaveCsvFile(const QString& path, const QList<QStringList>& rows);

// The name an export suggests, "<kind>_<logger ID>_<YYYYMMDD-hhmmss>.csv", so that
// exports of other loggers and other moments never meet; without an ID, none.
QString ExportFileName(const QString& kind, const std::string& logger_id, std::time_t when);

}  // namespace vexa
