#include "platform/report/BandTexts.h"

#include "platform/report/RecordedPages.h"

#include <algorithm>
#include <map>

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

QStringList BandTexts::Values() const {
  std::vector<std::pair<const PageCell*, QString>> items;  // first cell of each item, its text
  std::map<QString, std::size_t> byName;
  for (const auto& line : lines)
    for (const PageCell& cell : line) {
      const auto found = cell.item.isEmpty() ? byName.end() : byName.find(cell.item);
      if (found == byName.end()) {
        if (!cell.item.isEmpty()) byName.emplace(cell.item, items.size());
        items.emplace_back(&cell, cell.text);
      } else {
        items[found->second].second += u' ' + cell.text;
      }
    }
  std::stable_sort(items.begin(), items.end(),
                   [](const auto& a, const auto& b) { return a.first->rect.left() < b.first->rect.left(); });
  QStringList values;
  for (const auto& item : items) values << item.second;
  return values;
}

void ForEachBand(const RecordedPages& pages, const std::function<void(const BandTexts& band)>& visit) {
  std::vector<PageCell> cells;
  quint32 current = 0;
  double pageOffset = 0;
  const double pageHeight = pages.Setup().Size().height();
  for (int number = 1; number <= pages.PageCount(); ++number) {
    PageRecord page = pages.Page(number);
    for (PageCell& cell : page.cells) {
      if (cell.kind != PageCell::Kind::Text) continue;
      if (!cells.empty() && cell.band != current) {
        visit(linesOf(std::move(cells)));
        cells.clear();
      }
      current = cell.band;
      // A band run on over pages keeps its lines in order.
      cell.rect.translate(0, pageOffset);
      cells.push_back(std::move(cell));
    }
    pageOffset += pageHeight;
  }
  if (!cells.empty()) visit(linesOf(std::move(cells)));
}
