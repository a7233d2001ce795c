#include "testing/TimeLocale.h"

#include <clocale>
#include <stdexcept>

TimeLocale::TimeLocale(const char *name) : previous_(std::setlocale(LC_TIME, nullptr)) {
    if (std::setlocale(LC_TIME, name) == nullptr) {
        throw std::runtime_error(std::string("The locale ") + name +
                                 " is not installed: run scripts/setup");
    }
}

TimeLocale::~TimeLocale() { std::setlocale(LC_TIME, previous_.c_str()); }
