// The main window's hidden list box as the list the account library delivers names into.
#pragma once

#include "vantry_api/NameList.h"

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

private:
    static LRESULT receive(HWND window, UINT message, WPARAM, LPARAM text);

    QListWidget &listBox_;
    HWND__ window_;
};
