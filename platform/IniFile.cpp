#include "platform/IniFile.h"

#include "platform/Cp1252.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"

#include <QFileInfo>

namespace {

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

std::optional<QString> sectionOf(const QByteArray& line) {
  const QString text = Cp1252::decode(line).trimmed();
  if (!text.startsWith(u'[')) return std::nullopt;
  const qsizetype close = text.indexOf(u']');
  return (close < 0 ? text.mid(1) : text.mid(1, close - 1)).trimmed();
}

std::optional<QString> keyOf(const QByteArray& line) {
  const QString text = Cp1252::decode(line);
  const qsizetype eq = text.indexOf(u'=');
  if (eq <= 0 || text.trimmed().startsWith(u';')) return std::nullopt;
  const QString key = text.left(eq).trimmed();
  if (key.isEmpty()) return std::nullopt;
  return key;
}

QString valueOf(const QByteArray& line) {
  const QString text = Cp1252::decode(line);
  QString value = text.mid(text.indexOf(u'=') + 1).trimmed();
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
    value = value.mid(1, value.size() - 2);
  return value;
}

// NUL would end the text for a reader, and a character outside the code
// page would read back as another one.
bool Writable(const QString& text) { return !text.contains(QChar(u'\0')) && Cp1252::Holds(text); }

// A name that would read back as another one, as a comment or as a
// section header cannot be written.
bool ReadsBack(const QString& name, QStringView forbidden) {
  if (name.isEmpty() || name != name.trimmed() || !Writable(name)) return false;
  for (const QChar c : name)
    if (c == u'\r' || c == u'\n' || forbidden.contains(c)) return false;
  return true;
}

void CheckNames(const QString& section, const QString& key) {
  if (!ReadsBack(section, u"]"))
    throw Exception(QStringLiteral("Invalid INI section name '%1'.").arg(section));
  if (!ReadsBack(key, u"=") || key.startsWith(u';') || key.startsWith(u'['))
    throw Exception(QStringLiteral("Invalid INI key name '%1'.").arg(key));
}

}  // namespace

IniFile::IniFile(QString path)
    : IniFile(path, QFileInfo::exists(path) ? TextFile::ReadBytes(path) : QByteArray()) {}

IniFile::IniFile(QString path, const QByteArray& bytes) : path_(std::move(path)) {
  qsizetype start = 0;
  while (start < bytes.size()) {
    qsizetype stop = start;
    while (stop < bytes.size() && bytes[stop] != '\r' && bytes[stop] != '\n') ++stop;
    qsizetype next = stop;
    if (next < bytes.size() && bytes[next] == '\r') ++next;
    if (next < bytes.size() && bytes[next] == '\n') ++next;
    lines_.push_back({bytes.mid(start, stop - start), bytes.mid(stop, next - stop)});
    start = next;
  }
}

std::optional<IniFile::Range> IniFile::findSection(const QString& section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = sectionOf(lines_[i].text);
    if (!name || !sameName(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !sectionOf(lines_[end].text)) ++end;
    return Range{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> IniFile::findKey(const Range& range, const QString& key) const {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const auto name = keyOf(lines_[i].text);
    if (name && sameName(*name, key)) return i;
  }
  return std::nullopt;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const {
  const auto range = findSection(section);
  if (!range) return defaultValue;
  const auto at = findKey(*range, key);
  return at ? valueOf(lines_[*at].text) : defaultValue;
}

bool IniFile::SectionExists(const QString& section) const { return findSection(section).has_value(); }

bool IniFile::ValueExists(const QString& section, const QString& key) const {
  const auto range = findSection(section);
  return range && findKey(*range, key);
}

QStringList IniFile::ReadSections() const {
  QStringList sections;
  for (const Line& line : lines_)
    if (const auto name = sectionOf(line.text)) sections.append(*name);
  return sections;
}

QStringList IniFile::ReadSection(const QString& section) const {
  QStringList keys;
  if (const auto range = findSection(section))
    for (std::size_t i = range->header + 1; i < range->end; ++i)
      if (const auto key = keyOf(lines_[i].text)) keys.append(*key);
  return keys;
}

QByteArray IniFile::newLineEnd() const {
  for (const Line& line : lines_)
    if (!line.end.isEmpty()) return line.end;
  return QByteArrayLiteral("\r\n");
}

IniFile IniFile::FromBytes(const QByteArray& bytes) { return IniFile(QString(), bytes); }

void IniFile::SetString(const QString& section, const QString& key, const QString& value) {
  CheckNames(section, key);
  // A line break in the value would start a line of its own when read.
  QString oneLine = value;
  oneLine.replace(u'\r', u' ').replace(u'\n', u' ');
  if (!Writable(oneLine)) throw Exception(QStringLiteral("Invalid INI value '%1'.").arg(value));
  setValue(section, key, Cp1252::encode(oneLine));
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  std::vector<Line> written;
  TextFile::Update(path_, [&](const QByteArray& current) {
    IniFile now(path_, current);
    now.SetString(section, key, value);
    written = now.lines_;
    return now.Bytes();
  });
  lines_ = std::move(written);
}

void IniFile::setValue(const QString& section, const QString& key, const QByteArray& encodedValue) {
  const QByteArray eol = newLineEnd();
  const auto range = findSection(section);
  if (range) {
    if (const auto at = findKey(*range, key)) {
      QByteArray& text = lines_[*at].text;
      text = text.left(text.indexOf('=') + 1) + encodedValue;
    } else {
      // After the section's last non-blank line, so blank separators stay put.
      std::size_t after = range->end;
      while (after > range->header + 1 && lines_[after - 1].text.trimmed().isEmpty()) --after;
      if (lines_[after - 1].end.isEmpty()) lines_[after - 1].end = eol;
      lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after),
                    {Cp1252::encode(key) + '=' + encodedValue, eol});
    }
  } else {
    if (!lines_.empty() && lines_.back().end.isEmpty()) lines_.back().end = eol;
    lines_.push_back({'[' + Cp1252::encode(section) + ']', eol});
    lines_.push_back({Cp1252::encode(key) + '=' + encodedValue, eol});
  }
}

QByteArray IniFile::Bytes() const {
  QByteArray bytes;
  for (const Line& line : lines_) bytes += line.text + line.end;
  return bytes;
}
