// The common-membership queries are written as patterns whose markers ($KEYS, $COUNT...) are
// replaced by store keys, counts and table names: never by an account name.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

using QueryMarker = std::pair<std::string_view, std::string_view>;

// pattern with every marker replaced by its text, markers in the order given.
inline std::string Substituted(std::string_view pattern,
                               std::initializer_list<QueryMarker> markers) {
    std::string text(pattern);
    for (const auto &[marker, replacement] : markers) {
        for (auto at = text.find(marker); at != std::string::npos;
             at = text.find(marker, at + replacement.size())) {
            text.replace(at, marker.size(), replacement);
        }
    }
    return text;
}
