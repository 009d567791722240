#include "platform/data/ClientDataset.h"

#include "platform/data/StoredValue.h"
#include "platform/sqlite/DatabaseError.h"

#include <algorithm>

namespace {

constexpr auto kNoProvider = "Missing data provider or data packet";

bool sameValues(const QList<QVariant>& a, const QList<QVariant>& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i)
    if (!StoredValue::Same(a[i], b[i])) return false;
  return true;
}

}  // namespace

ClientDataset::ClientDataset(QObject* owner) : IndexedDataset(owner) {}

ClientDataset::~ClientDataset() = default;

void ClientDataset::SetProviderDataSet(Dataset* dataSet) {
  CheckInactive();
  provider_ = dataSet;
}

void ClientDataset::SetPacketRecords(int count) {
  CheckInactive();
  packetRecords_ = std::max(count, 0);
}

void ClientDataset::SetPacketsByPosition(bool byPosition) {
  CheckInactive();
  packetsByPosition_ = byPosition;
}

ClientDataset::Copy ClientDataset::fetch() {
  if (!provider_) throw EDatabaseError(QString::fromLatin1(kNoProvider));
  const bool wasActive = provider_->Active();
  provider_->Open();
  Copy copy;
  Records records = Snapshot(*provider_);
  copy.columns = std::move(records.columns);
  copy.Add(std::move(records.rows));
  if (packetRecords_ > 0) {
    provider_->Close();
    copy.complete = !BeforeGetRecords || copy.Size() < static_cast<std::size_t>(packetRecords_);
  } else if (!wasActive) {
    provider_->Close();
  }
  return copy;
}

bool ClientDataset::fetchPacket() {
  if (!PacketsPending() || !provider_) return false;
  QVariantHash last;
  QList<QVariant> lastValues;
  if (!copy_->Empty()) {
    lastValues = copy_->LastValues();
    for (int i = 0; i < copy_->columns.size() && i < lastValues.size(); ++i)
      last.insert(copy_->columns[i].name, lastValues[i]);
  }
  provider_->Close();
  std::vector<Row> packet;
  try {
    if (BeforeGetRecords(*provider_, last)) packet = Snapshot(*provider_).rows;
  } catch (...) {
    provider_->Close();
    copy_->complete = true;
    throw;
  }
  provider_->Close();
  copy_->complete = packet.size() < static_cast<std::size_t>(packetRecords_);
  // A packet read on from the last record's values that ends where the rows
  // held end brought nothing beyond them: asked again, it would bring the
  // same rows for ever. Read by position, it holds copies of that record.
  if (!packetsByPosition_ && !packet.empty() && !copy_->Empty() && sameValues(packet.back().values, lastValues)) {
    copy_->complete = true;
    return false;
  }
  copy_->Add(std::move(packet));
  return true;
}

void ClientDataset::Copy::Add(std::vector<Row> packet) {
  if (packet.empty()) return;
  for (const Row& row : last_) packed_.Append(row.values);
  last_ = std::move(packet);
  // The provider's identities need not be unique (a query's are not).
  qint64 identity = static_cast<qint64>(packed_.Size());
  for (Row& row : last_) row.identity = ++identity;
}

Dataset::Row ClientDataset::Copy::At(std::size_t index) const {
  if (index >= packed_.Size()) return last_[index - packed_.Size()];
  return Row{static_cast<qint64>(index) + 1, packed_.Values(index)};
}

Dataset::Row ClientDataset::copied(std::size_t index) const { return copy_->At(index); }

std::vector<Dataset::Row> ClientDataset::copied(std::size_t from, std::size_t to) const {
  std::vector<Row> rows;
  rows.reserve(to - from);
  for (std::size_t i = from; i < to; ++i) rows.push_back(copied(i));
  return rows;
}

std::optional<std::size_t> ClientDataset::indexOf(const Row& row) const {
  if (!copy_ || row.identity < 1 || static_cast<std::size_t>(row.identity) > copy_->Size()) return std::nullopt;
  return static_cast<std::size_t>(row.identity) - 1;
}

bool ClientDataset::shownAsCopied() const {
  return copy_ && packetRecords_ > 0 && OrderColumns().isEmpty() && !FilterInForce() && !RangeStart() &&
         !RangeEnd() && !Link();
}

// Shown as copied, the view reads on through ReadMore; otherwise it orders
// or filters the whole copy.
Dataset::Records ClientDataset::ReadRecords() {
  if (!copy_) copy_ = fetch();
  const std::size_t size = copy_->Size();
  delivered_ = packetRecords_ > 0 && OrderColumns().isEmpty()
                   ? std::min(size, static_cast<std::size_t>(packetRecords_))
                   : size;
  return Records{copy_->columns, copied(0, delivered_), copy_->complete && delivered_ == size};
}

std::vector<Dataset::Row> ClientDataset::ReadMore(std::size_t count) {
  std::vector<Row> rows;
  if (!copy_) return rows;
  while (rows.size() < count) {
    if (delivered_ >= copy_->Size() && !fetchPacket()) break;
    const std::size_t take = std::min(count - rows.size(), copy_->Size() - delivered_);
    for (std::size_t i = 0; i < take; ++i) rows.push_back(copied(delivered_++));
  }
  return rows;
}

std::size_t ClientDataset::ReadBlock(std::size_t wanted) const {
  return packetRecords_ > 0 ? static_cast<std::size_t>(packetRecords_) : wanted;
}

// The records copied so far that are shown: with a range, a master link or
// a filter in force, only those it lets through.
std::optional<int> ClientDataset::CountRecords() {
  if (packetRecords_ <= 0 || !copy_) return std::nullopt;
  if (!FilterInForce() && !RangeStart() && !RangeEnd() && !Link()) return static_cast<int>(copy_->Size());
  int shown = 0;
  for (std::size_t index = 0; index < copy_->Size(); ++index)
    if (const Row row = copied(index); RecordInView(row) && PassesFilter(row)) ++shown;
  return shown;
}

// Only packets are given on in reading order; a whole copy is read again
// through ReadRecords, which the view sorts.
bool ClientDataset::RestartReading() {
  if (!copy_ || packetRecords_ <= 0) return false;
  delivered_ = 0;
  return true;
}

// Without an order the reading starts at the record itself.
bool ClientDataset::StartReadingAt(const Row& key, int count) {
  const std::optional<std::size_t> index = shownAsCopied() && count == 0 ? indexOf(key) : std::nullopt;
  if (!index) return false;
  delivered_ = *index;
  return true;
}

bool ClientDataset::ContinueReadingAfter(const Row& row) {
  const std::optional<std::size_t> index = shownAsCopied() ? indexOf(row) : std::nullopt;
  if (!index) return false;
  delivered_ = *index + 1;
  return true;
}

// The last records are those of the last packet: every packet is copied
// first.
std::optional<std::vector<Dataset::Row>> ClientDataset::ReadBefore(const Row* first, std::size_t count) {
  if (!shownAsCopied()) return std::nullopt;
  std::size_t end = 0;
  if (first) {
    const std::optional<std::size_t> index = indexOf(*first);
    if (!index) return std::nullopt;
    end = *index;
  } else {
    while (fetchPacket()) {
    }
    end = delivered_ = copy_->Size();
  }
  return copied(end - std::min(end, count), end);
}

std::optional<int> ClientDataset::CountBefore(const Row& row) {
  const std::optional<std::size_t> index = shownAsCopied() ? indexOf(row) : std::nullopt;
  if (!index) return std::nullopt;
  return static_cast<int>(*index);
}

std::optional<Dataset::Row> ClientDataset::ReadRecordAt(int place) {
  if (!shownAsCopied() || place < 0) return std::nullopt;
  while (copy_->Size() <= static_cast<std::size_t>(place) && fetchPacket()) {
  }
  if (copy_->Empty()) return std::nullopt;
  return copied(std::min(static_cast<std::size_t>(place), copy_->Size() - 1));
}

int ClientDataset::GetNextPacket() {
  if (!Active() || !PacketsPending()) return 0;
  const std::size_t before = copy_->Size();
  ReadRowsUpTo(Rows().size() + (before - delivered_) + static_cast<std::size_t>(packetRecords_));
  return static_cast<int>(copy_->Size() - before);
}

void ClientDataset::ReleaseSource() {
  IndexedDataset::ReleaseSource();
  copy_.reset();
  delivered_ = 0;
}
