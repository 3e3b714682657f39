#pragma once

#include <string>
#include <vector>

#include "xml/whole_file.h"

// Tables the engineer takes elsewhere (a record list, a batch report) as CSV.

namespace vexa {

// Rows of fields in the program's code page, ISO-8859-1.
using CsvRows = std::vector<std::vector<std::string>>;

// RFC 4180: a field that holds a comma, a double quote or a line break is put
// in double quotes, its quotes doubled; lines end with CR LF; UTF-8. A field
// that starts with "=", "+", "-" or "@" and is not a number gets a leading
// apostrophe, so that a spreadsheet shows it as text instead of running it.
std::string CsvText(const CsvRows& rows);

// What saving a CSV file to `path` would change: a link there may lead only
// to an existing ".csv" file.
SaveTarget CsvSaveTarget(const std::string& path);

// Replaces the file at `path` by the rows so that it is never seen half
// written; false, with the old file untouched, when it cannot be written or
// CsvSaveTarget refuses.
bool SaveCsvFile(const std::string& path, const CsvRows& rows);

}  // namespace vexa
