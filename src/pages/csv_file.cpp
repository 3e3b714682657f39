#include "pages/csv_file.h"

#include <QFile>
#include <QRegularExpression>
#include <string_view>

#include "xml/whole_file.h"

namespace vexa {
namespace {

// A spreadsheet runs a cell that starts with one of these as a formula.
bool StartsLikeAFormula(const QString& field) {
  static const QString kFormulaStarts = QStringLiteral("=+-@");
  return !field.isEmpty() && kFormulaStarts.contains(field.front());
}

// A plain decimal number, signed or not, with or without a fraction and exponent.
bool IsNumber(const QString& field) {
  static const QRegularExpression kNumber(
      QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)"));
  return kNumber.match(field).hasMatch();
}

QString CsvField(QString field) {
  // Texts the logger or the engineer wrote must never run: kept as text.
  if (StartsLikeAFormula(field) && !IsNumber(field)) field.prepend(QLatin1Char('\''));
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
