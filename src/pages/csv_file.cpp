#include "pages/csv_file.h"

#include <QFile>
#include <QRegularExpression>
#include <string_view>

#include "link/local_time.h"
#include "pages/page_widgets.h"
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

SaveTarget CsvSaveTarget(const std::string& path) {
  return LookAtSaveTarget(path, [](const std::string& file) {
    return QFile::decodeName(file.c_str()).endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
  });
}

bool SaveCsvFile(const QString& path, const QList<QStringList>& rows) {
  const std::string file = QFile::encodeName(path).toStdString();
  if (CsvSaveTarget(file).refusal != ReplaceRefusal::kNone) return false;
  const QByteArray bytes = CsvText(rows);
  return ReplaceFileAtomically(file, std::string_view(bytes.constData(), bytes.size()));
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
