// The main window's hidden list box, lstHidden: the list the account library delivers names
// into. It is never shown, so it keeps the names as plain text rather than as list entries: a
// load passes every account of the target through it.
#pragma once

#include "vantry_api/NameList.h"

#include <QWidget>

class ListBoxNameList final : public QWidget, public NameList {
public:
    explicit ListBoxNameList(QWidget *parent);

    void clear() override { names_.clear(); }
    int64_t count() const override { return names_.count(); }
    std::string item(int64_t index) const override { return names_.item(index); }
    HWND window() override { return names_.window(); }

private:
    StringNameList names_;
};
