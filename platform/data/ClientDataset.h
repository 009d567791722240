#pragma once

#include "platform/data/IndexedDataset.h"
#include "platform/data/PackedRecords.h"

#include <QPointer>
#include <QVariantHash>

#include <functional>
#include <optional>

// Records held in memory: opening copies the records its provider dataset
// shows (opening it for the copy when closed), which may then close; the
// copy is kept until the client dataset closes. Read only; with indexes,
// ranges, filters and searches of its own.
//
// With PacketRecords above 0 the records come a packet at a time: the first
// from the provider as it stands when the client opens, each next one when
// the records copied so far have all been visited, after BeforeGetRecords
// has made the provider read on after the last record copied. The provider
// is closed after every packet, so no statement stays open between them;
// RecordCount is the number of records copied so far. The copy is held
// packed; while the records are shown in the order copied, unfiltered, a
// walk keeps only the records around the current one unpacked.
class ClientDataset : public IndexedDataset {
  Q_OBJECT

 public:
  explicit ClientDataset(QObject* owner = nullptr);
  ~ClientDataset() override;

  // The dataset the provider reads (only while closed).
  Dataset* ProviderDataSet() const { return provider_; }
  void SetProviderDataSet(Dataset* dataSet);

  // Records per packet; 0 or less: every record at once (only while closed).
  int PacketRecords() const { return packetRecords_; }
  void SetPacketRecords(int count);
  // Given the closed provider and the last record copied (its values by
  // column name, as stored), opens the provider on the records after it, at
  // most a packet; false when it cannot, which ends the records there.
  // Without it the first packet is the last.
  std::function<bool(Dataset& provider, const QVariantHash& last)> BeforeGetRecords;
  // Whether each packet reads on by the number of records copied (the
  // provider's records may then repeat one another) rather than from the
  // last record's values (only while closed).
  bool PacketsByPosition() const { return packetsByPosition_; }
  void SetPacketsByPosition(bool byPosition);
  // How many records the packets have copied, whatever the filter.
  int RecordsCopied() const { return copy_ ? static_cast<int>(copy_->Size()) : 0; }
  // Copies the next packet; the number of records it held.
  int GetNextPacket();
  // Whether the provider may still have records to copy.
  bool PacketsPending() const { return copy_ && !copy_->complete; }

 protected:
  Records ReadRecords() override;
  std::vector<Row> ReadMore(std::size_t count) override;
  std::size_t ReadBlock(std::size_t wanted) const override;
  std::optional<int> CountRecords() override;
  bool RestartReading() override;
  bool StartReadingAt(const Row& key, int count) override;
  bool ContinueReadingAfter(const Row& row) override;
  std::optional<std::vector<Row>> ReadBefore(const Row* first, std::size_t count) override;
  std::optional<int> CountBefore(const Row& row) override;
  std::optional<Row> ReadRecordAt(int place) override;
  void ReleaseSource() override;

 private:
  // The records copied: those of the last packet as they came (a search
  // that reads only its first rows unpacks nothing), the others packed.
  class Copy {
   public:
    QList<Column> columns;
    bool complete = true;
    std::size_t Size() const { return packed_.Size() + last_.size(); }
    bool Empty() const { return Size() == 0; }
    // The record at index i has identity i + 1.
    Row At(std::size_t index) const;
    QList<QVariant> LastValues() const { return last_.empty() ? QList<QVariant>() : last_.back().values; }
    void Add(std::vector<Row> packet);

   private:
    PackedRecords packed_;
    std::vector<Row> last_;
  };
  Copy fetch();
  bool fetchPacket();
  Row copied(std::size_t index) const;
  std::vector<Row> copied(std::size_t from, std::size_t to) const;
  // Where a record given is among those copied; nullopt for another's.
  std::optional<std::size_t> indexOf(const Row& row) const;
  // Whether the records are shown as copied, all of them: the place of a
  // record among those copied is then its place among those shown.
  bool shownAsCopied() const;

  QPointer<Dataset> provider_;
  int packetRecords_ = 0;
  bool packetsByPosition_ = false;
  std::optional<Copy> copy_;
  std::size_t delivered_ = 0;  // of the records copied, where ReadMore goes on
};
