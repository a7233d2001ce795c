// Shows and reads dates in the named locale (the C library's LC_TIME) for the life of the
// object, then goes back to the locale the run had. The locale must be installed on the
// machine (scripts/setup generates the ones the tests use); a missing one throws, so a case
// that needs it fails rather than passes in the wrong locale.
#pragma once

#include <string>

class TimeLocale {
public:
    explicit TimeLocale(const char *name);
    ~TimeLocale();
    TimeLocale(const TimeLocale &) = delete;
    TimeLocale &operator=(const TimeLocale &) = delete;

private:
    std::string previous_;
};
