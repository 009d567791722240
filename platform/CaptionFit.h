#pragma once

class QWidget;

// A form drawn for a narrower font than the one it gets: every caption
// placed by hand (a label that does not wrap, a button, a check box, a radio
// button) grows to hold its whole text, as far as its parent's right edge,
// and one still too wide for that room takes a smaller letter until it fits.
void FitCaptions(QWidget& form);
