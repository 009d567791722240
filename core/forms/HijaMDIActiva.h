#pragma once

class QWidget;

// The form of the main window's active MDI child; none without a main
// window, an MDI area or an active child.
QWidget* HijaMDIActiva();
