#include "platform/report/Workbook.h"

#include "platform/Exceptions.h"

#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// The writer keeps the rows of a sheet in a file of its own and does not
// tell when a write to it failed: the rows lost, the workbook would still
// come out whole.
bool rowsKept(lxw_worksheet* sheet) {
  FILE* rows = sheet->optimize_tmpfile;
  return !rows || (std::fflush(rows) == 0 && !std::ferror(rows));
}

// Texts the XML of the sheet may not hold are left out, as the PDF does.
QByteArray cellText(const QString& text) {
  QString kept;
  kept.reserve(std::min<qsizetype>(text.size(), Workbook::kMaxText));
  for (QChar character : text) {
    if (kept.size() >= Workbook::kMaxText) break;
    if (character.unicode() < 0x20 && character != u'\n' && character != u'\t') continue;
    kept += character;
  }
  if (kept.size() == Workbook::kMaxText && kept.back().isHighSurrogate()) kept.chop(1);
  return kept.toUtf8();
}

}  // namespace

Workbook::Workbook(const QString& fileName) : file_(fileName) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  const QByteArray folder = QFile::encodeName(QFileInfo(fileName).absolutePath());
  options.tmpdir = const_cast<char*>(folder.constData());
  book_ = workbook_new_opt(file_.Path().constData(), &options);
  if (!book_) throw Exception(QStringLiteral("No se ha podido crear el libro ") + fileName);
  sheet_ = workbook_add_worksheet(book_, nullptr);
}

Workbook::~Workbook() {
  if (book_) workbook_close(book_);
}

lxw_format* Workbook::FormatOf(int column, bool bold) {
  const Column style = columns_.count(column) ? columns_[column] : Column{};
  const int key = style.general * 4 + style.right * 2 + bold;
  auto& format = formats_[key];
  if (!format) {
    format = workbook_add_format(book_);
    if (!style.general) format_set_num_format(format, "@");
    format_set_align(format, style.right ? LXW_ALIGN_RIGHT : LXW_ALIGN_LEFT);
    format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
    if (bold) format_set_bold(format);
  }
  return format;
}

void Workbook::SetColumn(int column, const Column& format) {
  columns_[column] = format;
  worksheet_set_column(sheet_, column, column, format.width > 0 ? format.width : LXW_DEF_COL_WIDTH,
                       FormatOf(column, false));
}

void Workbook::Write(int row, int column, const QString& text, bool bold) {
  if (row >= kMaxRows) {
    overflow_ = true;
    return;
  }
  lxw_format* format = FormatOf(column, bold);
  if (text.isEmpty()) {
    worksheet_write_blank(sheet_, row, column, format);
    return;
  }
  if (columns_.count(column) && columns_[column].general) {
    bool number = false;
    const double value = text.trimmed().toDouble(&number);
    if (number && std::isfinite(value)) {
      worksheet_write_number(sheet_, row, column, value, format);
      return;
    }
  }
  worksheet_write_string(sheet_, row, column, cellText(text).constData(), format);
}

void Workbook::Save() {
  errno = 0;
  const bool kept = rowsKept(sheet_);
  const int writeError = errno;
  lxw_workbook* book = std::exchange(book_, nullptr);
  const lxw_error closed = workbook_close(book);
  QString reason;
  if (overflow_) reason = QStringLiteral("La hoja no admite más de %1 filas").arg(kMaxRows);
  else if (!kept && writeError != 0) reason = QString::fromLocal8Bit(std::strerror(writeError));
  else if (!kept) reason = QStringLiteral("No se han podido escribir las filas del libro");
  else if (closed != LXW_NO_ERROR) reason = QString::fromLocal8Bit(lxw_strerror(closed));
  if (!reason.isEmpty()) throw Exception(reason);
  file_.Publish();
}
