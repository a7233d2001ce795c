// The order in which people expect names to sort: without regard to case, and with runs of
// digits compared by their value, so that user2 comes before user10.
#pragma once

#include <string>
#include <string_view>

// Below 0 when a comes first, above 0 when b does, 0 only for equal texts. Texts that differ
// only in case or in leading zeros are told apart at the end, so that the order is total.
int NaturalCompare(std::string_view a, std::string_view b);

// The text as a search without regard to case compares it: case-folded, in UTF-8.
std::string FoldedForSearch(std::string_view text);
