#include "platform/StringList.h"

#include "platform/Cp1252.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"

#include <algorithm>

namespace {

int compareText(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive); }

}  // namespace

void StringList::SetSorted(bool sorted) {
  sorted_ = sorted;
  if (sorted_)
    std::stable_sort(lines_.begin(), lines_.end(),
                     [](const QString& a, const QString& b) { return compareText(a, b) < 0; });
}

int StringList::insertionPoint(const QString& line) const {
  auto it = std::lower_bound(lines_.begin(), lines_.end(), line,
                             [](const QString& a, const QString& b) { return compareText(a, b) < 0; });
  return static_cast<int>(it - lines_.begin());
}

int StringList::Add(const QString& line) {
  if (ignoreDuplicates_ && IndexOf(line) >= 0) return -1;
  if (!sorted_) {
    lines_.append(line);
    return Count() - 1;
  }
  const int at = insertionPoint(line);
  lines_.insert(at, line);
  return at;
}

void StringList::Insert(int index, const QString& line) { lines_.insert(index, line); }

void StringList::Delete(int index) { lines_.removeAt(index); }

int StringList::IndexOf(const QString& line) const {
  for (int i = 0; i < Count(); ++i)
    if (compareText(lines_[i], line) == 0) return i;
  return -1;
}

QString StringList::Text() const {
  QString text;
  for (const QString& line : lines_) text += line + QStringLiteral("\r\n");
  return text;
}

void StringList::SetText(const QString& text) {
  lines_.clear();
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != u'\r' && c != u'\n') continue;
    lines_.append(text.mid(start, i - start));
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines_.append(text.mid(start));
  if (sorted_) SetSorted(true);
}

int StringList::IndexOfName(const QString& name) const {
  for (int i = 0; i < Count(); ++i)
    if (compareText(Names(i), name) == 0) return i;
  return -1;
}

QString StringList::Names(int index) const {
  const QString& line = lines_.at(index);
  const qsizetype eq = line.indexOf(u'=');
  return eq < 0 ? QString() : line.left(eq);
}

QString StringList::ValueFromIndex(int index) const {
  const QString& line = lines_.at(index);
  const qsizetype eq = line.indexOf(u'=');
  return eq < 0 ? QString() : line.mid(eq + 1);
}

QString StringList::Values(const QString& name) const {
  const int index = IndexOfName(name);
  return index < 0 ? QString() : ValueFromIndex(index);
}

void StringList::SetValue(const QString& name, const QString& value) {
  if (name.contains(u'=') || name.contains(u'\r') || name.contains(u'\n'))
    throw Exception(QStringLiteral("Invalid name '%1'.").arg(name));
  const int index = IndexOfName(name);
  // One line per name, whatever the value holds.
  QString oneLine = value;
  oneLine.replace(u'\r', u' ').replace(u'\n', u' ');
  if (value.isEmpty()) {
    if (index >= 0) Delete(index);
  } else if (index >= 0) {
    lines_[index] = name + u'=' + oneLine;
  } else {
    Add(name + u'=' + oneLine);
  }
}

void StringList::LoadFromFile(const QString& path) { SetText(TextFile::Read(path)); }

void StringList::SaveToFile(const QString& path) const { TextFile::Write(path, Text()); }

void StringList::UpdateFile(const QString& path, const std::function<void(StringList& lines)>& change) {
  TextFile::Update(path, [&](const QByteArray& bytes) {
    StringList lines;
    lines.SetText(Cp1252::decode(bytes));
    change(lines);
    return Cp1252::encode(lines.Text());
  });
}
