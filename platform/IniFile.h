#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// A sectioned INI file with the semantics of the Windows profile routines:
// section and key names compared without regard to case, values trimmed,
// every write going straight to disk. Lines the class does not change keep
// their bytes (order, comments, unknown lines, line ends), so a file written
// by another program survives a read-write round trip. Windows-1252 on disk.
class IniFile {
 public:
  // A missing file reads as empty; an existing file that cannot be read
  // raises Exception.
  explicit IniFile(QString path);

  const QString& FileName() const { return path_; }

  QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
  // Reads the file again, then changes the value in place, or adds the key
  // at the end of its section, or adds the section at the end of the file;
  // CR and LF in the value are written as blanks. Another program's writes
  // to other keys survive. Raises Exception, and leaves the file as it was,
  // when it cannot be written, when a name would not read back as itself
  // (empty, blanks at its ends, a line break, "]" in a section, "=" in a
  // key, a key beginning with ";" or "["), or when a name or the value holds
  // NUL or a character Windows-1252 lacks.
  void WriteString(const QString& section, const QString& key, const QString& value);

  // A text held in memory: SetString changes it as WriteString would, with
  // the same checks, and Bytes gives the result; the disk is not touched.
  static IniFile FromBytes(const QByteArray& bytes);
  void SetString(const QString& section, const QString& key, const QString& value);
  QByteArray Bytes() const;

  bool SectionExists(const QString& section) const;
  bool ValueExists(const QString& section, const QString& key) const;
  QStringList ReadSections() const;
  QStringList ReadSection(const QString& section) const;  // the section's key names

 private:
  struct Line {
    QByteArray text;  // without its line end
    QByteArray end;   // "\r\n", "\n", "\r" or empty for a last line without one
  };
  struct Range {
    std::size_t header;
    std::size_t end;  // one past the section's last line
  };

  IniFile(QString path, const QByteArray& bytes);

  std::optional<Range> findSection(const QString& section) const;
  std::optional<std::size_t> findKey(const Range& range, const QString& key) const;
  QByteArray newLineEnd() const;
  void setValue(const QString& section, const QString& key, const QByteArray& encodedValue);

  QString path_;
  std::vector<Line> lines_;
};
