#include "platform/report/BandTexts.h"

#include "platform/report/RecordedPages.h"

#include <algorithm>
#include <deque>
#include <utility>

namespace {

// Cells whose tops are closer than this share a line.
constexpr double kSameLine = 4;

BandTexts linesOf(std::vector<PageCell> cells) {
  std::stable_sort(cells.begin(), cells.end(), [](const PageCell& a, const PageCell& b) {
    return a.rect.top() < b.rect.top() || (a.rect.top() == b.rect.top() && a.rect.left() < b.rect.left());
  });
  BandTexts band;
  double top = -1e9;
  for (PageCell& cell : cells) {
    if (band.lines.empty() || cell.rect.top() - top >= kSameLine) {
      band.lines.emplace_back();
      top = cell.rect.top();
    }
    band.lines.back().push_back(std::move(cell));
  }
  for (auto& line : band.lines)
    std::stable_sort(line.begin(), line.end(),
                     [](const PageCell& a, const PageCell& b) { return a.rect.left() < b.rect.left(); });
  return band;
}

}  // namespace

namespace {

QStringList valuesOf(std::vector<const PageCell*> items) {
  std::stable_sort(items.begin(), items.end(),
                   [](const PageCell* a, const PageCell* b) { return a->rect.left() < b->rect.left(); });
  QStringList values;
  for (const PageCell* item : items) values << (item->whole.isNull() ? item->text : item->whole);
  return values;
}

}  // namespace

std::vector<QStringList> BandTexts::Rows() const {
  std::vector<QStringList> rows;
  std::vector<const PageCell*> items;  // the first cell of each item of the row
  for (const auto& line : lines) {
    const bool runOn = std::any_of(line.begin(), line.end(), [](const PageCell& cell) { return cell.continuation; });
    if (!runOn && !items.empty()) rows.push_back(valuesOf(std::exchange(items, {})));
    for (const PageCell& cell : line)
      if (!cell.continuation) items.push_back(&cell);
  }
  if (!items.empty()) rows.push_back(valuesOf(std::move(items)));
  return rows;
}

void ForEachBand(const RecordedPages& pages, const std::function<void(const BandTexts& band)>& visit) {
  // The bands begun and not yet visited, in the order they were begun; a
  // band goes on over the next page only where that page holds its cells too
  // (the page's footer and the next one's header come between its parts).
  struct Begun {
    quint32 band = 0;
    int lastPage = 0;
    std::vector<PageCell> cells;
  };
  std::deque<Begun> begun;
  const auto visitEndedBefore = [&](int page) {
    for (; !begun.empty() && begun.front().lastPage < page; begun.pop_front())
      visit(linesOf(std::move(begun.front().cells)));
  };
  double pageOffset = 0;
  const double pageHeight = pages.Setup().Size().height();
  for (int number = 1; number <= pages.PageCount(); ++number) {
    PageRecord page = pages.Page(number);
    for (PageCell& cell : page.cells) {
      if (cell.kind != PageCell::Kind::Text) continue;
      auto found = std::find_if(begun.rbegin(), begun.rend(), [&](const Begun& b) { return b.band == cell.band; });
      if (found == begun.rend()) {
        begun.push_back({cell.band, number, {}});
        found = begun.rbegin();
      }
      found->lastPage = number;
      // A band run on over pages keeps its lines in order.
      cell.rect.translate(0, pageOffset);
      found->cells.push_back(std::move(cell));
    }
    visitEndedBefore(number);
    pageOffset += pageHeight;
  }
  visitEndedBefore(pages.PageCount() + 1);
}
