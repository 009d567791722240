#pragma once

#include <QTimer>
#include <QWidget>

#include <exception>
#include <functional>

#include <gtest/gtest.h>

// Runs the action on a form created per use once it is on screen (the
// global that holds it while it is open); a form the action leaves on
// screen is closed, which cancels it.
template <class F>
void AlMostrarse(F* const& global, std::function<void(F&)> accion) {
  QTimer::singleShot(0, [&global, accion = std::move(accion)] {
    if (!global || !global->isVisible()) {
      ADD_FAILURE() << "the form is not on screen";
      return;
    }
    try {
      accion(*global);
    } catch (const std::exception& error) {
      ADD_FAILURE() << "raised: " << error.what();
    }
    if (global && global->isVisible()) global->close();
  });
}
