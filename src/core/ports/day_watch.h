#pragma once
// Tells the core when the day or the day pictures may have changed. Nothing ticks: every call
// follows an event (local midnight, the clock or the time zone set, a resume from suspend, a
// watched file changed), so an idle program stays asleep.
#include <functional>
#include <string>
#include <vector>

namespace lumora {

class DayWatchSource {
public:
    virtual ~DayWatchSource() = default;
    // Called when the day may have changed: just after local midnight, after the wall clock or
    // the time zone was set, after a resume from suspend. One change may bring more than one
    // call, so the check should be cheap and do nothing when the day is still the one it saw.
    virtual void setDayCheck(std::function<void()> check) = 0;
    // Called, bursts gathered into one call, when a watched file or the picture folder changed
    // (a file deleted, renamed, replaced or written; any entry of the folder added or removed).
    virtual void setFileCheck(std::function<void()> check) = 0;
    // Called once a day in the hour before local midnight (at once when the watch starts inside
    // that hour), the quiet time to get the next day's picture ready.
    virtual void setEveCheck(std::function<void()> check) = 0;
    // Replaces the watched files. `folder` is the picture folder; the folder of each file is
    // watched too, so a file missing now is seen when it appears.
    virtual void watchFiles(const std::vector<std::string>& paths, const std::string& folder) = 0;
    // Ends the watch for good: every timer and file watch stops, and no check is called again.
    virtual void stop() = 0;
};

} // namespace lumora
