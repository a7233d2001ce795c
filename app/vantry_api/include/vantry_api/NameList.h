// The list that the library's enumerations deliver names into: each name arrives at window()
// as an add-string message, and listings of accounts follow it with the account's details.
// The main window's hidden list box is one; StringNameList is a plain one for code without
// windows.
#pragma once

#include "win32.h"

#include <cstdint>
#include <string>
#include <vector>

// What a listing of accounts says of one besides its name (the library's ListDetails).
struct ListedDetails {
    std::string fullName;
    std::string comment;
    uint32_t flags = 0;
};

class NameList {
public:
    virtual ~NameList() = default;
    virtual void clear() = 0;
    virtual int64_t count() const = 0;
    // index counts from 0, in the order the list holds the names.
    virtual std::string item(int64_t index) const = 0;
    // The details that came with the name at index; null when none came.
    virtual const ListedDetails *details(int64_t index) const = 0;
    virtual HWND window() = 0;
};

// Keeps the names in arrival order. Not copyable: its window addresses this object.
class StringNameList final : public NameList {
public:
    StringNameList();
    StringNameList(const StringNameList &) = delete;
    StringNameList &operator=(const StringNameList &) = delete;

    void clear() override;
    int64_t count() const override { return static_cast<int64_t>(names_.size()); }
    std::string item(int64_t index) const override { return names_.at(index); }
    const ListedDetails *details(int64_t index) const override;
    HWND window() override { return &window_; }
    const std::vector<std::string> &names() const { return names_; }

private:
    static LRESULT receive(HWND window, UINT message, WPARAM, LPARAM lParam);

    HWND__ window_;
    std::vector<std::string> names_;
    // By the index of their name; empty while no details came.
    std::vector<ListedDetails> details_;
};
