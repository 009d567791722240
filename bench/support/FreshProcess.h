#pragma once

#include <QStringList>

// Each benchmark is timed once, as a user's program meets the work: alone,
// in a fresh process, on the data files made once for the whole run.
namespace FreshProcess {

// Whether this process is one benchmark's own (or only lists them).
bool IsOne(const QStringList& arguments);
// Runs the one benchmark the filter names and prints its time and the
// growth of resident memory while it ran, for the first process to read.
int RunOne();
// Makes the data files, then runs every benchmark the arguments choose in a
// process of its own, and prints each ratio; arguments as given to the
// program, Google Benchmark's included.
int RunEach(const QStringList& arguments);

}  // namespace FreshProcess
