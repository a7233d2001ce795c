// An error list ready to be shown: the caption above it, its numbered entries, and a summary of
// what the operation did. Presenters show it as one message or in a window of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ErrorEntry {
    int64_t number;  // as the list numbers it, from 1
    std::string description;
};

struct ErrorReport {
    std::string caption;
    std::string list;  // the entries as the error list writes them out (its ErrList)
    std::vector<ErrorEntry> entries;
    std::string summary;  // how many accounts succeeded and failed; empty when not counted

    // The caption, ":" and a line break when there is a caption, the list, then the summary on a
    // line of its own.
    std::string Message() const;
};

// An entry's description splits into its message and the advice after it (the paragraphs that
// follow the first blank line), so that advice repeated by many entries can be given once.
struct EntryParts {
    std::string message;
    std::string advice;  // empty when the entry gives none
};
EntryParts SplitAdvice(const std::string &description);

// The text with its line breaks (the list's line feed and carriage return, or a carriage return
// and line feed) as single line feeds, as text files and controls want them.
std::string PlainLines(const std::string &text);
