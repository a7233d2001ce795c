// The main window's hidden list box, lstHidden: the list the account library delivers names
// into. It is never shown, so it keeps the names as plain text rather than as list entries: a
// load passes every account of the target through it.
#pragma once

#include "vantry_api/NameList.h"

#include <QWidget>

#include <functional>

class ListBoxNameList final : public QWidget, public NameList {
public:
    explicit ListBoxNameList(QWidget *parent);

    void clear() override { names_.clear(); }
    int64_t count() const override { return names_.count(); }
    std::string item(int64_t index) const override;
    const ListedDetails *details(int64_t index) const override { return names_.details(index); }
    HWND window() override { return &window_; }

    // Called as each name arrives or is read back, so that a long enumeration can keep the
    // windows painted; nothing while empty.
    void WhileWorking(std::function<void()> work) { whileWorking_ = std::move(work); }

private:
    static LRESULT receive(HWND window, UINT message, WPARAM wParam, LPARAM text);

    StringNameList names_;
    HWND__ window_;
    std::function<void()> whileWorking_;
};
