#include "platform/FileList.h"

#include "platform/format/DateTime.h"
#include "platform/format/Format.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTreeView>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace {

enum Column { kName, kSize, kType, kDate };

bool isProgramPattern(const QString& pattern) { return pattern.compare(QLatin1String("*.exe"), Qt::CaseInsensitive) == 0; }

// The patterns between the last parentheses of a name filter.
QStringList patternsOf(const QString& nameFilter) {
  static const QRegularExpression parenthesised(QStringLiteral("\\(([^()]*)\\)\\s*$"));
  const QRegularExpressionMatch match = parenthesised.match(nameFilter);
  return (match.hasMatch() ? match.captured(1) : nameFilter).split(u' ', Qt::SkipEmptyParts);
}

}  // namespace

FileList::FileList(QObject* parent) : QSortFilterProxyModel(parent) {}

void FileList::SetPatterns(const QStringList& patterns) {
  patterns_ = patterns;
  programs_ = std::any_of(patterns.begin(), patterns.end(), isProgramPattern);
  invalidateFilter();
}

bool FileList::filterAcceptsRow(int row, const QModelIndex& parent) const {
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  if (!files || patterns_.isEmpty()) return true;
  const QModelIndex entry = files->index(row, 0, parent);
  const QFileInfo info = files->fileInfo(entry);
  if (info.isDir()) return true;
  if (QDir::match(patterns_, info.fileName())) return true;
  return programs_ && (info.suffix().isEmpty() || info.isExecutable());
}

QVariant FileList::data(const QModelIndex& index, int role) const {
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  if (!files || role != Qt::DisplayRole || index.column() == kName) return QSortFilterProxyModel::data(index, role);
  const QModelIndex entry = mapToSource(index);
  const QFileInfo info = files->fileInfo(entry);
  static const QLocale spanish(QLocale::Spanish, QLocale::Spain);
  switch (index.column()) {
    case kSize:
      return info.isDir() ? QString() : spanish.formattedDataSize(info.size());
    case kType:
      if (info.isDir()) return QStringLiteral("Carpeta");
      return info.suffix().isEmpty() ? QStringLiteral("Archivo") : QStringLiteral("Archivo ") + info.suffix().toUpper();
    case kDate:
      return DateTimeToStr(ToDateTime(info.lastModified()));
    default:
      return QSortFilterProxyModel::data(index, role);
  }
}

bool FileList::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  if (!files) return QSortFilterProxyModel::lessThan(left, right);
  const QFileInfo one = files->fileInfo(left), other = files->fileInfo(right);
  if (one.isDir() != other.isDir()) return one.isDir() == (sortOrder() == Qt::AscendingOrder);
  switch (left.column()) {
    case kSize:
      if (one.size() != other.size()) return one.size() < other.size();
      break;
    case kType: {
      const QString oneType = data(mapFromSource(left)).toString(), otherType = data(mapFromSource(right)).toString();
      if (const int order = oneType.compare(otherType, Qt::CaseInsensitive)) return order < 0;
      break;
    }
    case kDate:
      if (one.lastModified() != other.lastModified()) return one.lastModified() < other.lastModified();
      break;
    default:
      break;
  }
  return QString::localeAwareCompare(one.fileName(), other.fileName()) < 0;
}

void ListInSpanish(QFileDialog& dialog) {
  if (qobject_cast<FileList*>(dialog.proxyModel())) return;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  auto* list = new FileList(&dialog);
  dialog.setProxyModel(list);
  const auto follow = [&dialog, list](const QString& nameFilter) {
    // The list matches the patterns itself: the dialog's own model shows every file to it.
    if (auto* files = qobject_cast<QFileSystemModel*>(list->sourceModel())) files->setNameFilters({});
    list->SetPatterns(patternsOf(nameFilter));
  };
  QObject::connect(&dialog, &QFileDialog::filterSelected, list, follow);
  follow(dialog.selectedNameFilter());
  if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) WidenColumns(*details);
}

void WidenColumns(QTreeView& details) {
  const QFontMetrics metrics(details.font());
  const int margin = 2 * details.style()->pixelMetric(QStyle::PM_HeaderMargin) + metrics.horizontalAdvance(u'0') * 2;
  const auto widen = [&](Column column, const QString& widest) {
    details.header()->resizeSection(column, std::max(details.header()->sectionSize(column),
                                                     metrics.horizontalAdvance(widest) + margin));
  };
  widen(kSize, QStringLiteral("1.023,99 KiB"));
  widen(kType, QStringLiteral("Archivo XLSX"));
  widen(kDate, QStringLiteral("28/12/2026 00:00:00"));
}
