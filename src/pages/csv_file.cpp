#include "pages/csv_file.h"

#include <QFile>
#include <string_view>

#include "xml/whole_file.h"

namespace vexa {
namespace {

QString CsvField(QString field) {
  if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
      !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r'))) {
    return field;
  }
  field.replace(QLatin1String("\""), QLatin1String("\"\""));
  return QLatin1Char('"') + field + QLatin1Char('"');
}

}  // namespace

QByteArray CsvText(const QList<QStringList>& rows) {
  QString text;
  for (const QStringList& row : rows) {
    QStringList fields;
    for (const QString& field : row) fields << CsvField(field);
    text += fields.join(QLatin1Char(',')) + QLatin1String("\r\n");
  }
  return text.toUtf8();
}

bool SaveCsvFile(const QString& path, const QList<QStringList>& rows) {
  const QByteArray bytes = CsvText(rows);
  return ReplaceFileAtomically(QFile::encodeName(path).toStdString(),
                               std::string_view(bytes.constData(), bytes.size()));
}

}  // namespace vexa
