#include "platform/data/ClientDataset.h"

#include "platform/data/StoredValue.h"
#include "platform/sqlite/DatabaseError.h"

#include <algorithm>
#include <iterator>

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

std::vector<Dataset::Row> ClientDataset::copyProvider(QList<Column>* columns) {
  Records records = Snapshot(*provider_);
  if (columns) *columns = std::move(records.columns);
  // The provider's identities need not be unique (a query's are not).
  qint64 identity = data_ && !data_->rows.empty() ? data_->rows.back().identity : 0;
  for (Row& row : records.rows) row.identity = ++identity;
  return std::move(records.rows);
}

void ClientDataset::SetPacketsByPosition(bool byPosition) {
  CheckInactive();
  packetsByPosition_ = byPosition;
}

Dataset::Records ClientDataset::fetch() {
  if (!provider_) throw EDatabaseError(QString::fromLatin1(kNoProvider));
  const bool wasActive = provider_->Active();
  provider_->Open();
  Records records;
  records.rows = copyProvider(&records.columns);
  if (packetRecords_ > 0) {
    provider_->Close();
    records.complete = !BeforeGetRecords || records.rows.size() < static_cast<std::size_t>(packetRecords_);
  } else if (!wasActive) {
    provider_->Close();
  }
  return records;
}

bool ClientDataset::fetchPacket() {
  if (!PacketsPending() || !provider_) return false;
  QVariantHash last;
  if (!data_->rows.empty())
    for (int i = 0; i < data_->columns.size(); ++i) last.insert(data_->columns[i].name, data_->rows.back().values[i]);
  provider_->Close();
  std::vector<Row> packet;
  try {
    if (BeforeGetRecords(*provider_, last)) packet = copyProvider(nullptr);
  } catch (...) {
    provider_->Close();
    data_->complete = true;
    throw;
  }
  provider_->Close();
  data_->complete = packet.size() < static_cast<std::size_t>(packetRecords_);
  // A packet read on from the last record's values that ends where the rows
  // held end brought nothing beyond them: asked again, it would bring the
  // same rows for ever. Read by position, it holds copies of that record.
  if (!packetsByPosition_ && !packet.empty() && !data_->rows.empty() &&
      sameValues(packet.back().values, data_->rows.back().values)) {
    data_->complete = true;
    return false;
  }
  std::move(packet.begin(), packet.end(), std::back_inserter(data_->rows));
  return true;
}

Dataset::Records ClientDataset::ReadRecords() {
  if (!data_) data_ = fetch();
  delivered_ = data_->rows.size();
  return *data_;
}

std::vector<Dataset::Row> ClientDataset::ReadMore(std::size_t count) {
  std::vector<Row> rows;
  if (!data_) return rows;
  while (rows.size() < count) {
    if (delivered_ >= data_->rows.size() && !fetchPacket()) break;
    const std::size_t take = std::min(count - rows.size(), data_->rows.size() - delivered_);
    const auto from = data_->rows.begin() + static_cast<std::ptrdiff_t>(delivered_);
    rows.insert(rows.end(), from, from + static_cast<std::ptrdiff_t>(take));
    delivered_ += take;
  }
  return rows;
}

std::size_t ClientDataset::ReadBlock(std::size_t wanted) const {
  return packetRecords_ > 0 ? static_cast<std::size_t>(packetRecords_) : wanted;
}

std::optional<int> ClientDataset::CountRecords() {
  if (packetRecords_ <= 0 || !data_) return std::nullopt;
  return static_cast<int>(data_->rows.size());
}

// Only packets are given on in reading order; a whole copy is read again
// through ReadRecords, which the view sorts.
bool ClientDataset::RestartReading() {
  if (!data_ || packetRecords_ <= 0) return false;
  delivered_ = 0;
  return true;
}

int ClientDataset::GetNextPacket() {
  if (!Active() || !PacketsPending()) return 0;
  const std::size_t before = data_->rows.size();
  ReadRowsUpTo(Rows().size() + (data_->rows.size() - delivered_) + static_cast<std::size_t>(packetRecords_));
  return static_cast<int>(data_->rows.size() - before);
}

void ClientDataset::ReleaseSource() {
  IndexedDataset::ReleaseSource();
  data_.reset();
  delivered_ = 0;
}
