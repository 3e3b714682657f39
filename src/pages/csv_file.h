#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <ctime>
#include <string>

#include "csv/csv_file.h"

// The window's side of CSV exports: file names and rows as the widgets hold them.

namespace vexa {

// SaveCsvFile for a path and fields as the widgets hold them.
bool SaveCsvFile(const QString& path, const QList<QStringList>& rows);

// The name an export suggests, "<kind>_<logger ID>_<YYYYMMDD-hhmmss>.csv", so that
// exports of other loggers and other moments never meet; without an ID, none.
QString ExportFileName(const QString& kind, const std::string& logger_id, std::time_t when);

}  // namespace vexa
