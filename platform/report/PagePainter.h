#pragma once

class QPainter;
struct PageRecord;

// Draws a recorded page on a painter whose unit is the report's (the caller
// scales the painter to its device).
void PaintPage(QPainter& painter, const PageRecord& page);
