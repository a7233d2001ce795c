// The main window's hidden list box as the list the account library delivers names into.
#pragma once

#include "vantry_api/NameList.h"

#include <functional>

class QListWidget;

class ListBoxNameList final : public NameList {
public:
    explicit ListBoxNameList(QListWidget &listBox);
    ListBoxNameList(const ListBoxNameList &) = delete;
    ListBoxNameList &operator=(const ListBoxNameList &) = delete;

    void clear() override;
    int64_t count() const override;
    std::string item(int64_t index) const override;
    HWND window() override { return &window_; }

    // Called as each name arrives or is read back, so that a long enumeration can keep the
    // windows painted; nothing while empty.
    void WhileWorking(std::function<void()> work) { whileWorking_ = std::move(work); }

private:
    static LRESULT receive(HWND window, UINT message, WPARAM, LPARAM text);

    QListWidget &listBox_;
    HWND__ window_;
    std::function<void()> whileWorking_;
};
