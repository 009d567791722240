#include "platform/report/PageSetup.h"
#include "platform/report/RecordedPages.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage Drawn(QImage::Format format) {
  QImage image(37, 21, format);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.fillRect(3, 4, 20, 9, Qt::black);
  painter.end();
  image.setDotsPerMeterX(5906);
  image.setDotsPerMeterY(2953);
  return image;
}

}  // namespace

// Every picture a page holds comes back from the page store pixel for pixel,
// whatever its format, with its resolution; one without pixels stays empty.
TEST(RecordedPages, PicturesComeBackAsTheyWereRecorded) {
  QImage translucent(5, 3, QImage::Format_ARGB32);
  translucent.fill(qRgba(10, 20, 30, 40));
  const QImage pictures[] = {Drawn(QImage::Format_RGB32), Drawn(QImage::Format_Mono),
                             Drawn(QImage::Format_RGB32).convertToFormat(QImage::Format_Indexed8),
                             Drawn(QImage::Format_RGB888), translucent, QImage()};
  RecordedPages pages;
  pages.Begin(PageSetup());
  for (const QImage& picture : pictures) {
    PageRecord page;
    PageCell cell;
    cell.kind = PageCell::Kind::Picture;
    cell.picture = picture;
    page.cells = {cell, PageCell()};
    pages.AddPage(page);
  }
  pages.End();
  ASSERT_EQ(pages.PageCount(), std::size(pictures));
  for (int n = 1; n <= pages.PageCount(); ++n) {
    SCOPED_TRACE(n);
    const QImage& recorded = pictures[n - 1];
    const PageRecord page = pages.Page(n);
    ASSERT_EQ(page.cells.size(), 2U);
    const QImage& back = page.cells[0].picture;
    ASSERT_EQ(back.isNull(), recorded.isNull());
    if (recorded.isNull()) continue;
    EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32), recorded.convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(back.dotsPerMeterX(), recorded.dotsPerMeterX());
    EXPECT_EQ(back.dotsPerMeterY(), recorded.dotsPerMeterY());
  }
}
