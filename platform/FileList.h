#pragma once

#include <QSortFilterProxyModel>
#include <QStringList>

class QFileDialog;
class QTreeView;

// What a file dialog lists, as the system shows it: a folder's type reads
// "Carpeta", a file's "Archivo" and its extension, dates and sizes with the
// Spanish settings. The names it shows are those the chosen filter's
// patterns match, without regard to case; a filter for "*.EXE" also shows
// this platform's programs (a file without an extension, or one marked
// executable). It sorts as the file model does: folders first, sizes by
// their bytes, dates by their time, then by name.
class FileList : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  explicit FileList(QObject* parent = nullptr);

  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  void SetPatterns(const QStringList& patterns);

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override;
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

 private:
  QStringList patterns_;
  bool programs_ = false;
};

// Makes the dialog list through a FileList that follows its chosen filter,
// its details wide enough for a size, a type and a date.
void ListInSpanish(QFileDialog& dialog);
// Widens a file list's size, type and date columns to show them whole.
void WidenColumns(QTreeView& details);
