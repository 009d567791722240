#pragma once

#include <QStringList>

// Each benchmark is timed as a user's program meets the work: alone, in a
// fresh process, on the data files made once for the whole run; a few such
// runs, so that one noisy pass does not decide.
namespace FreshProcess {

// Whether this process is one benchmark's own (or only lists them).
bool IsOne(const QStringList& arguments);
// Runs the one benchmark the filter names and prints its time and the
// growth of resident memory while it ran, for the first process to read.
int RunOne();
// Makes the data files, then runs every benchmark the arguments choose
// several times (ZEMWIN_BENCH_RUNS, at least three), each time in a process
// of its own, and prints each one's median run, the spread of its runs, and
// the ratio of the medians; arguments as given to the program, Google
// Benchmark's included.
int RunEach(const QStringList& arguments);

}  // namespace FreshProcess
