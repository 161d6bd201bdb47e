// The process timer of the performance benchmark (-b): processor time from
// the start of the run to the benchmark report.
#ifndef VEK_REPORTS_PROCESS_TIMER_H_
#define VEK_REPORTS_PROCESS_TIMER_H_

#include <ctime>
#include <string>

namespace vek {

struct ProcessTimer {
  long divisor = 0;      // clock ticks per second
  long start = 0;        // processor clock at the start, in ticks
  long stop = 0;         // and at the stop
  double elapsed = 0.0;  // seconds, at least 0.001 once stopped
  int resolved = 0;      // the run outlasted the clock's resolution

  void Start() {
    elapsed = 0.0;
    divisor = static_cast<long>(CLOCKS_PER_SEC);
    start = static_cast<long>(clock());
    stop = start;
    resolved = 0;
  }

  void Stop() { StopAt(static_cast<long>(clock())); }

  // Stops at a given clock reading.  A span the clock cannot resolve (no
  // tick, or a clock that went back) shows as the least time, 0.001 s.
  void StopAt(long now) {
    stop = now;
    double seconds =
        divisor > 0 ? static_cast<double>(stop - start) / divisor : 0.0;
    resolved = seconds > 0.0;
    elapsed = seconds < 0.001 ? 0.001 : seconds;
  }
};

// Seconds as days, hours, minutes and whole seconds, "%d:%02d:%02d:%02d".
std::string DayForm(double seconds);

}  // namespace vek

#endif  // VEK_REPORTS_PROCESS_TIMER_H_
