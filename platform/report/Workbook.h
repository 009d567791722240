#pragma once

#include "platform/report/UnnamedFile.h"

#include <QString>

#include <map>
#include <memory>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// A workbook of one sheet, written row by row in constant memory (rows go
// to disk as they are left, so memory stays flat). Every cell is text, but a
// General column stores a text that reads as a number as that number, as the
// spreadsheet would. The file replaces the target only at Save; a workbook
// not saved, or not whole, leaves the target as it was.
class Workbook {
 public:
  struct Column {
    bool general = false;  // the General number format, else "@"
    bool right = false;
    double width = 0;      // 0: the sheet's default
  };
  static constexpr int kMaxRows = 1048576;
  static constexpr int kMaxText = 32767;

  explicit Workbook(const QString& fileName);
  ~Workbook();
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  void SetColumn(int column, const Column& format);  // columns from 0, before any row
  void Write(int row, int column, const QString& text, bool bold = false);  // rows from 0, in order
  void Save();  // raises with the reason; no file is left then

 private:
  lxw_format* FormatOf(int column, bool bold);

  UnnamedFile file_;
  lxw_workbook* book_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  std::map<int, Column> columns_;
  std::map<int, lxw_format*> formats_;  // general * 4 + right * 2 + bold
  bool overflow_ = false;
};
