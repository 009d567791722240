#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// A list of text lines with the name=value access the system uses for option
// texts, settings files and caches. Names are compared without regard to case;
// the first line with a name is the one that counts.
class StringList {
 public:
  StringList() = default;
  explicit StringList(QStringList lines) : lines_(std::move(lines)) {}

  // A sorted list keeps its lines in case-insensitive order; with duplicates
  // ignored, adding a line already present changes nothing.
  void SetSorted(bool sorted);
  bool Sorted() const { return sorted_; }
  void SetIgnoreDuplicates(bool ignore) { ignoreDuplicates_ = ignore; }

  int Count() const { return static_cast<int>(lines_.size()); }
  const QString& operator[](int index) const { return lines_.at(index); }
  const QStringList& Lines() const { return lines_; }

  int Add(const QString& line);  // the line's index, or -1 when ignored
  void Insert(int index, const QString& line);
  void Delete(int index);
  void Clear() { lines_.clear(); }
  int IndexOf(const QString& line) const;

  // Each line followed by CR LF; SetText splits on CR LF, LF or CR.
  QString Text() const;
  void SetText(const QString& text);

  int IndexOfName(const QString& name) const;
  QString Names(int index) const;
  QString ValueFromIndex(int index) const;
  QString Values(const QString& name) const;
  // An empty value removes the line, as the system's lists always did; CR
  // and LF in the value become blanks, so it stays one line. A name holding
  // "=", CR or LF, which would not read back, raises Exception.
  void SetValue(const QString& name, const QString& value);

  // Windows-1252 on disk; failures raise Exception.
  void LoadFromFile(const QString& path);
  void SaveToFile(const QString& path) const;
  // The lines of the file (none when it is missing) changed and saved, with
  // the file locked against every other UpdateFile of it meanwhile.
  static void UpdateFile(const QString& path, const std::function<void(StringList& lines)>& change);

 private:
  int insertionPoint(const QString& line) const;

  QStringList lines_;
  bool sorted_ = false;
  bool ignoreDuplicates_ = false;
};
