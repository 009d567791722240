#include "platform/report/ReportRun.h"

#include "platform/Clock.h"
#include "platform/Exceptions.h"
#include "platform/format/Format.h"
#include "platform/report/PageSink.h"
#include "platform/report/ReportEngine.h"
#include "platform/report/ReportPicture.h"
#include "platform/report/ReportSource.h"
#include "platform/report/TextLines.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr double kTolerance = 0.001;

bool readsField(ItemKind kind) {
  return kind == ItemKind::DataText || kind == ItemKind::Memo || kind == ItemKind::Picture || kind == ItemKind::Sum;
}

QString formatNumber(double value, const QString& mask) { return mask.isEmpty() ? FloatToStr(value) : FormatFloat(mask, value); }

QString formatValue(const QVariant& value, const QString& mask) {
  switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: return formatNumber(value.toDouble(), mask);
    case QMetaType::Int:
    case QMetaType::LongLong: return mask.isEmpty() ? IntToStr(value.toLongLong()) : FormatFloat(mask, value.toDouble());
    default: return value.toString();
  }
}

bool isText(ItemKind kind) { return kind != ItemKind::Picture && kind != ItemKind::Shape && kind != ItemKind::Line; }

// Bands whose items stand in the columns of a table: records, groups, totals.
bool inColumns(BandKind kind) {
  return kind != BandKind::PageHeader && kind != BandKind::PageFooter && kind != BandKind::Title;
}

PageCell textCell(const ReportItem& item, const QRectF& rect, const QString& text) {
  PageCell cell;
  cell.kind = PageCell::Kind::Text;
  cell.rect = rect;
  cell.text = text;
  cell.font = item.Font;
  cell.alignment = item.Alignment;
  cell.color = item.Color;
  cell.background = item.BackColor;
  cell.frame = item.Frame;
  cell.item = item.Name;
  return cell;
}

// A text item that prints nothing in a table's band still leaves its place,
// unseen, so that exports keep its column.
PageCell emptyCell(const ReportItem& item, const QRectF& rect) {
  PageCell cell = textCell(item, rect, QString());
  cell.background = QColor();
  cell.frame = false;
  return cell;
}

QStringList fieldsOf(const QString& expression) {
  QStringList fields;
  for (const QString& field : expression.split(u'+', Qt::SkipEmptyParts)) fields << field.trimmed();
  return fields;
}

}  // namespace

ReportRun::ReportRun(ReportEngine& report, PageSink& sink) : report_(report), sink_(sink) {}

bool ReportRun::CancelRequested() const { return report_.Cancelled && report_.Cancelled(); }

void ReportRun::CollectFields() {
  for (const auto& band : report_.Bands()) {
    if (band->Kind == BandKind::SubDetail) continue;
    if (band->Kind == BandKind::GroupHeader) {
      groups_.push_back(band.get());
      fields_ << fieldsOf(band->Expression);
    }
    for (const auto& item : band->Items())
      if (readsField(item->Kind) && !item->DataField.isEmpty()) fields_ << item->DataField;
  }
  fields_.removeDuplicates();
}

void ReportRun::Capture(QHash<QString, QVariant>& values) const {
  for (const QString& field : fields_) values.insert(field, report_.Source->Value(field));
}

ReportRun::Lookup ReportRun::ValuesOf(const QHash<QString, QVariant>& values) const {
  return [&values](const QString& field) { return values.value(field); };
}

QString ReportRun::GroupKey(const Band& group) const {
  QString key;
  for (const QString& field : fieldsOf(group.Expression)) key += current_.value(field).toString() + QChar(0x1f);
  return key;
}

QString ReportRun::ItemText(const ReportItem& item, const Lookup& value) const {
  switch (item.Kind) {
    case ItemKind::Label: return item.Caption;
    case ItemKind::DataText: return formatValue(value(item.DataField), item.DisplayMask);
    case ItemKind::Memo: return item.DataField.isEmpty() ? item.Caption : value(item.DataField).toString();
    case ItemKind::Sum: {
      const auto sum = sums_.find(&item);
      return formatNumber(sum == sums_.end() ? 0.0 : sum->second.Value(), item.DisplayMask);
    }
    case ItemKind::PageNumber: return item.Caption + QString::number(pageNumber_);
    case ItemKind::Date: return DateToStr(ToDateTime(ClockSeam::Get().Now()));
    default: return {};
  }
}

std::optional<ReportRun::LaidBand> ReportRun::Lay(Band& band, const Lookup& value) {
  bool print = band.Enabled;
  if (band.BeforePrint) band.BeforePrint(band, print);
  if (!print) return std::nullopt;
  LaidBand laid;
  laid.band = &band;
  laid.height = band.Height;
  ++bandSequence_;
  for (const auto& owned : band.Items()) {
    ReportItem& item = *owned;
    const QRectF rect(item.Left, item.Top, item.Width, item.Height);
    if (!item.Enabled) {
      if (isText(item.Kind) && inColumns(band.Kind)) laid.cells.push_back(emptyCell(item, rect));
      continue;
    }
    double height = item.Height;
    switch (item.Kind) {
      case ItemKind::Picture: {
        QImage picture = item.DataField.isEmpty() ? LoadPicture(item.PictureFile)
                                                  : PictureFromBytes(value(item.DataField).toByteArray());
        if (picture.isNull()) break;
        PageCell cell;
        cell.kind = PageCell::Kind::Picture;
        cell.rect = rect;
        cell.picture = std::move(picture);
        cell.item = item.Name;
        laid.cells.push_back(std::move(cell));
        break;
      }
      case ItemKind::Shape:
      case ItemKind::Line: {
        PageCell cell;
        cell.kind = item.Kind == ItemKind::Line         ? PageCell::Kind::Line
                    : item.Shape == ShapeKind::Ellipse ? PageCell::Kind::Ellipse
                                                       : PageCell::Kind::Rectangle;
        cell.rect = rect;
        cell.item = item.Name;
        laid.cells.push_back(std::move(cell));
        break;
      }
      default: {
        QString text = ItemText(item, value);
        if (item.OnPrint) item.OnPrint(item, text);
        if (!item.Enabled) {
          if (inColumns(band.Kind)) laid.cells.push_back(emptyCell(item, rect));
          break;
        }
        if (item.Kind == ItemKind::Memo || item.AutoStretch) {
          const double lineHeight = LineHeight(item.Font);
          const qsizetype fitting = static_cast<qsizetype>((item.Height + kTolerance) / lineHeight);
          const QStringList lines = WrapText(text, item.Font, item.Width, item.CutAtFrame ? fitting : -1);
          for (qsizetype line = 0; line < lines.size(); ++line) {
            PageCell cell = textCell(item, QRectF(item.Left, item.Top + line * lineHeight, item.Width, lineHeight),
                                     lines.at(line));
            cell.continuation = line > 0;
            if (line == 0) cell.whole = text;
            laid.cells.push_back(std::move(cell));
          }
          if (lines.isEmpty()) laid.cells.push_back(emptyCell(item, QRectF(item.Left, item.Top, item.Width, lineHeight)));
          height = std::max(item.Height, lines.size() * lineHeight);
        } else {
          if (item.Kind == ItemKind::PageNumber) laid.pageNumbers.emplace_back(laid.cells.size(), item.Caption);
          PageCell cell = textCell(item, rect, PrintableText(text).replace(u'\n', u' '));
          // Exports take the text with its line breaks.
          if (text.contains(u'\n') || text.contains(u'\r')) cell.whole = text;
          laid.cells.push_back(std::move(cell));
        }
      }
    }
    laid.height = std::max(laid.height, item.Top + height);
  }
  for (PageCell& cell : laid.cells) cell.band = bandSequence_;
  return laid;
}

void ReportRun::Print(Band& band, const Lookup& value) {
  std::optional<LaidBand> laid = Lay(band, value);
  if (laid) Place(*laid);
}

void ReportRun::Append(LaidBand& laid, std::size_t index, double offset) {
  PageCell& cell = laid.cells[index];
  for (const auto& [numbered, caption] : laid.pageNumbers)
    if (numbered == index) cell.text = caption + QString::number(pageNumber_);
  cell.rect.translate(report_.Page.LeftEdge(), offset);
  page_.cells.push_back(std::move(cell));
}

void ReportRun::Place(LaidBand& laid) {
  if (laid.band->ForceNewPage && y_ > contentTop_ + kTolerance) NewPage();
  if (y_ + laid.height > bottomLimit_ + kTolerance && y_ > contentTop_ + kTolerance) NewPage();
  if (y_ + laid.height <= bottomLimit_ + kTolerance) {
    for (std::size_t cell = 0; cell < laid.cells.size(); ++cell) Append(laid, cell, y_);
    y_ += laid.height;
    return;
  }
  Split(laid);
}

// A band taller than the room a page leaves runs on over as many pages as it
// needs: each page takes the cells that fit whole; a cell taller than a whole
// page is cut at its bottom, so every page moves the band on.
void ReportRun::Split(LaidBand& laid) {
  std::vector<std::size_t> pending(laid.cells.size());
  std::iota(pending.begin(), pending.end(), std::size_t{0});
  std::stable_sort(pending.begin(), pending.end(),
                   [&](std::size_t a, std::size_t b) { return laid.cells[a].rect.top() < laid.cells[b].rect.top(); });
  double sliceStart = 0;
  while (!pending.empty()) {
    const double room = bottomLimit_ - y_;
    if (room < 1) throw Exception(QStringLiteral("¡El informe no cabe en la página!"));
    const double sliceEnd = sliceStart + room;
    double nextStart = sliceEnd;
    std::vector<std::size_t> later;
    for (std::size_t index : pending) {
      PageCell& cell = laid.cells[index];
      if (cell.rect.top() >= sliceEnd - kTolerance) {
        later.push_back(index);
      } else if (cell.rect.bottom() <= sliceEnd + kTolerance) {
        Append(laid, index, y_ - sliceStart);
      } else if (cell.rect.top() > sliceStart + kTolerance) {
        later.push_back(index);
        nextStart = std::min(nextStart, cell.rect.top());
      } else {
        cell.rect.setBottom(sliceEnd);
        Append(laid, index, y_ - sliceStart);
      }
    }
    pending = std::move(later);
    if (pending.empty()) break;
    NewPage();
    sliceStart = nextStart;
  }
  y_ = std::min(bottomLimit_, y_ + laid.height - sliceStart);
}

void ReportRun::StartPage() {
  page_ = PageRecord{};
  page_.number = ++pageNumber_;
  y_ = report_.Page.TopEdge();
  double footer = 0;
  for (const auto& band : report_.Bands())
    if (band->Kind == BandKind::PageFooter && band->Enabled) footer += band->Height;
  bottomLimit_ = report_.Page.BottomEdge() - footer;
  const Lookup value = ValuesOf(current_);
  for (const auto& band : report_.Bands()) {
    const bool header = band->Kind == BandKind::PageHeader && (pageNumber_ > 1 || report_.FirstPageHeader);
    if (!header && band->Kind != BandKind::ColumnHeader) continue;
    if (std::optional<LaidBand> laid = Lay(*band, value)) {
      for (std::size_t cell = 0; cell < laid->cells.size(); ++cell) Append(*laid, cell, y_);
      y_ += laid->height;
    }
  }
  contentTop_ = y_;
}

void ReportRun::FinishPage(bool last) {
  if (!last || report_.LastPageFooter) {
    double y = bottomLimit_;
    const Lookup value = ValuesOf(currentPlaced_ ? current_ : previous_);
    for (const auto& band : report_.Bands()) {
      if (band->Kind != BandKind::PageFooter) continue;
      if (std::optional<LaidBand> laid = Lay(*band, value)) {
        for (std::size_t cell = 0; cell < laid->cells.size(); ++cell) Append(*laid, cell, y);
        y += laid->height;
      }
      ResetSums(*band);
    }
  }
  sink_.AddPage(page_);
  if (report_.OnPage) report_.OnPage(pageNumber_);
}

void ReportRun::NewPage() {
  FinishPage(false);
  StartPage();
}

void ReportRun::PrintFooters(std::size_t fromLevel, const Lookup& value) {
  for (std::size_t level = groups_.size(); level-- > fromLevel;) {
    if (Band* footer = groups_[level]->Footer) {
      Print(*footer, value);
      ResetSums(*footer);
    }
  }
}

void ReportRun::PrintHeaders(std::size_t fromLevel, const Lookup& value) {
  for (std::size_t level = fromLevel; level < groups_.size(); ++level) {
    groupKeys_[level] = GroupKey(*groups_[level]);
    Print(*groups_[level], value);
  }
}

void ReportRun::Accumulate() {
  for (const auto& band : report_.Bands()) {
    if (band->Kind == BandKind::SubDetail) continue;
    for (const auto& item : band->Items())
      if (item->Kind == ItemKind::Sum) sums_[item.get()].Add(current_.value(item->DataField).toDouble());
  }
}

void ReportRun::ResetSums(const Band& band) {
  for (const auto& item : band.Items())
    if (item->Kind == ItemKind::Sum) sums_[item.get()] = RunningSum();
}

void ReportRun::PrintSubDetails() {
  for (const auto& band : report_.Bands()) {
    if (band->Kind != BandKind::SubDetail || !band->Source) continue;
    ReportSource& source = *band->Source;
    const Lookup value = [&source](const QString& field) { return source.Value(field); };
    for (source.First(); !source.Eof(); source.Next()) {
      if (CancelRequested()) {
        cancelled_ = true;
        return;
      }
      Print(*band, value);
    }
  }
}

int ReportRun::Run() {
  ReportSource& source = *report_.Source;
  source.First();
  if (source.Eof()) return 0;
  CollectFields();
  groupKeys_.assign(groups_.size(), QString());
  Capture(current_);
  sink_.Begin(report_.Page);
  StartPage();
  const Lookup current = ValuesOf(current_);
  for (const auto& band : report_.Bands())
    if (band->Kind == BandKind::Title) Print(*band, current);
  qint64 records = 0;
  while (!source.Eof()) {
    if (CancelRequested()) cancelled_ = true;
    if (cancelled_) return pageNumber_ - 1;  // the page begun is not handed on
    std::size_t changed = 0;
    if (records > 0) {
      while (changed < groups_.size() && GroupKey(*groups_[changed]) == groupKeys_[changed]) ++changed;
      PrintFooters(changed, ValuesOf(previous_));
    }
    PrintHeaders(changed, current);
    Accumulate();
    for (const auto& band : report_.Bands())
      if (band->Kind == BandKind::Detail) Print(*band, current);
    currentPlaced_ = true;
    PrintSubDetails();
    ++records;
    if (report_.OnProgress) report_.OnProgress(records);
    previous_ = current_;
    source.Next();
    if (!source.Eof()) {
      Capture(current_);
      currentPlaced_ = false;
    }
  }
  PrintFooters(0, current);
  for (const auto& band : report_.Bands())
    if (band->Kind == BandKind::Summary) Print(*band, current);
  FinishPage(true);
  sink_.End();
  return pageNumber_;
}
