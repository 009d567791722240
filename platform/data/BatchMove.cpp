#include "platform/data/BatchMove.h"

#include "platform/data/DatasetTexts.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/data/TypeTable.h"
#include "platform/sqlite/DatabaseError.h"

#include <QList>

namespace {

struct MappedField {
  Field* destination;
  Field* source;
};

enum class Outcome { Written, Changed, Skipped, KeyViolation, Problem };

// A record that the destination cannot hold as it is: a value that does
// not convert, or would be cut, or is missing where required.
class ProblemRecord : public std::exception {};

bool IsRequiredValueMissing(const QString& engineText) {
  return engineText.startsWith(u"Field '") && engineText.endsWith(u"' must have a value");
}

QList<MappedField> MapFields(const StringList& mappings, Dataset& source, Table& destination) {
  QList<MappedField> mapped;
  if (mappings.Count() == 0) {
    for (int i = 0; i < source.FieldCount(); ++i)
      if (Field* same = destination.FindField(source.Fields(i).FieldName())) mapped.append(MappedField{same, &source.Fields(i)});
    return mapped;
  }
  for (const QString& line : mappings.Lines()) {
    if (line.trimmed().isEmpty()) continue;
    const qsizetype equals = line.indexOf(u'=');
    const QString target = (equals < 0 ? line : line.left(equals)).trimmed();
    const QString origin = (equals < 0 ? line : line.mid(equals + 1)).trimmed();
    mapped.append(MappedField{&destination.FieldByName(target), &source.FieldByName(origin)});
  }
  return mapped;
}

void CopyValue(const Field& source, Field& destination) {
  if (source.IsNull()) return destination.Clear();
  if (TypeTable::ValueClassOf(destination.DataType()) == ValueClass::Binary)
    return destination.SetAsBytes(source.AsBytes());
  if (destination.DataType() == ftString && destination.Size() > 0 &&
      source.AsString().size() > destination.Size())
    throw ProblemRecord();
  try {
    destination.SetAsVariant(source.AsVariant());
  } catch (const Exception&) {
    throw ProblemRecord();
  }
}

// The destination's current index fields, each with the source field that
// fills it.
QList<Field*> KeySources(const QList<MappedField>& mapped, Table& destination) {
  QList<Field*> sources;
  for (int i = 0; i < destination.IndexFieldCount(); ++i) {
    Field* keyField = &destination.IndexFields(i);
    Field* source = nullptr;
    for (const MappedField& pair : mapped)
      if (pair.destination == keyField) source = pair.source;
    if (!source)
      throw EDatabaseError(QString::fromLatin1(EngineText::FieldRequired).arg(keyField->FieldName()));
    sources.append(source);
  }
  if (sources.isEmpty()) throw EDatabaseError(EngineText::NoIndexActive);
  return sources;
}

bool FindDestinationRecord(Table& destination, const QList<Field*>& keySources) {
  QList<Variant> key;
  for (const Field* source : keySources) key.append(source->AsVariant());
  try {
    return destination.FindKey(key);
  } catch (const Exception&) {
    throw ProblemRecord();
  }
}

Outcome WriteRecord(Table& destination, const QList<MappedField>& mapped, bool overwrite) {
  overwrite ? destination.Edit() : destination.Append();
  try {
    for (const MappedField& pair : mapped) CopyValue(*pair.source, *pair.destination);
    destination.Post();
  } catch (const ProblemRecord&) {
    destination.Cancel();
    return Outcome::Problem;
  } catch (const EDatabaseError& error) {
    destination.Cancel();
    if (error.EngineMessage() == QLatin1String(EngineText::KeyViolation)) return Outcome::KeyViolation;
    if (IsRequiredValueMissing(error.EngineMessage())) return Outcome::Problem;
    throw;
  } catch (...) {
    destination.Cancel();
    throw;
  }
  return overwrite ? Outcome::Changed : Outcome::Written;
}

// Opens a closed source for the move and closes it again afterwards.
class OpenedForMove {
 public:
  explicit OpenedForMove(Dataset& dataset) : dataset_(dataset), opened_(!dataset.Active()) {
    if (opened_) dataset_.Open();
    dataset_.DisableControls();
  }
  ~OpenedForMove() {
    dataset_.EnableControls();
    if (opened_) dataset_.Close();
  }
  OpenedForMove(const OpenedForMove&) = delete;
  OpenedForMove& operator=(const OpenedForMove&) = delete;

 private:
  Dataset& dataset_;
  bool opened_;
};

// The destination's records are written through a table of the move's own,
// opened again every so many records: a table keeps what it learns of each
// record it writes, which over a large source would grow without end. The
// destination itself, when open, shows the records once the move ends.
class Writer {
 public:
  Writer(Table& destination, const StringList& mappings, Dataset& source, bool keyed)
      : destination_(destination), mappings_(mappings), source_(source), keyed_(keyed) {
    if (destination_.Active()) destination_.CheckBrowseMode();
    table_.SetDatabaseName(destination_.DatabaseName());
    table_.SetTableName(destination_.TableName());
    if (destination_.IndexFieldNames().isEmpty())
      table_.SetIndexName(destination_.IndexName());
    else
      table_.SetIndexFieldNames(destination_.IndexFieldNames());
    open();
  }
  ~Writer() {
    try {
      if (destination_.Active()) destination_.Refresh();
    } catch (const std::exception&) {
      // The destination shows what it read before; the move's own outcome is the one to tell.
    }
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  Table& Destination() { return table_; }
  const QList<MappedField>& Mapped() const { return mapped_; }
  const QList<Field*>& KeySources() const { return keySources_; }

  void Written() {
    constexpr int kRecordsPerOpening = 4096;
    if (++written_ % kRecordsPerOpening != 0) return;
    table_.Close();
    open();
  }

 private:
  void open() {
    table_.Open();
    mapped_ = MapFields(mappings_, source_, table_);
    if (keyed_) keySources_ = ::KeySources(mapped_, table_);
  }

  Table& destination_;
  const StringList& mappings_;
  Dataset& source_;
  bool keyed_;
  Table table_;
  QList<MappedField> mapped_;
  QList<Field*> keySources_;
  int written_ = 0;
};

}  // namespace

BatchMove::BatchMove(QObject* owner) : QObject(owner) {}

void BatchMove::Execute() {
  movedCount_ = changedCount_ = keyViolCount_ = problemCount_ = 0;
  if (!source_ || !destination_) throw EDatabaseError(QStringLiteral("Invalid batch move parameter"));
  Dataset& source = *source_;
  const OpenedForMove sourceOpen(source);
  Writer writer(*destination_, mappings_, source, mode_ != batAppend);
  Table& destination = writer.Destination();

  for (source.First(); !source.Eof() && (recordCount_ <= 0 || movedCount_ < recordCount_); source.Next()) {
    ++movedCount_;
    Outcome outcome = Outcome::Skipped;
    try {
      const bool found = mode_ != batAppend && FindDestinationRecord(destination, writer.KeySources());
      if (found || mode_ != batUpdate) outcome = WriteRecord(destination, writer.Mapped(), found);
    } catch (const ProblemRecord&) {
      outcome = Outcome::Problem;
    }
    if (outcome == Outcome::Written || outcome == Outcome::Changed) writer.Written();
    switch (outcome) {
      case Outcome::Changed:
        ++changedCount_;
        break;
      case Outcome::KeyViolation:
        ++keyViolCount_;
        if (abortOnKeyViol_) throw EDatabaseError(EngineText::KeyViolation);
        break;
      case Outcome::Problem:
        ++problemCount_;
        if (abortOnProblem_) throw EDatabaseError(QStringLiteral("Batch move problem record"));
        break;
      case Outcome::Written:
      case Outcome::Skipped:
        break;
    }
  }
}
