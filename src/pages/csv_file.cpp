#include "pages/csv_file.h"

#include <QFile>

#include "link/local_time.h"
#include "pages/page_widgets.h"

namespace vexa {

bool SaveCsvFile(const QString& path, const QList<QStringList>& rows) {
  CsvRows fields;
  fields.reserve(rows.size());
  for (const QStringList& row : rows) {
    auto& line = fields.emplace_back();
    for (const QString& field : row) line.push_back(Latin1(field));
  }
  return SaveCsvFile(QFile::encodeName(path).toStdString(), fields);
}

QString ExportFileName(const QString& kind, const std::string& logger_id, std::time_t when) {
  QStringList parts = {kind};
  if (!logger_id.empty()) {
    // The ID comes from the logger: no "/" or ".." of it may choose the folder.
    QString id = FromLatin1(logger_id);
    for (QChar& c : id) {
      if (!c.isLetterOrNumber() && c != u'-' && c != u'_') c = u'_';
    }
    parts << id;
  }
  parts << FromLatin1(FormatLocalTime("%Y%m%d-%H%M%S", when));
  return parts.join(QLatin1Char('_')) + QLatin1String(".csv");
}

}  // namespace vexa
