#include "netclient/list_target.hpp"

#include "netclient/text.hpp"
#include "vantry.h"

#include <vector>

namespace netclient {

ListTarget::ListTarget(int32_t listKind, HWND window)
    : message_(listKind != 0 ? LB_ADDSTRING : CB_ADDSTRING), window_(window) {}

uint32_t ListTarget::deliver(std::span<const std::u16string> names) const {
    std::vector<std::string> narrow(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (const uint32_t status = toNarrow(names[i].c_str(), narrow[i]); status != NERR_Success) {
            return status;
        }
    }
    for (const std::string &name : narrow) {
        SendMessageA(window_, message_, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    return NERR_Success;
}

uint32_t ListTarget::deliver(std::span<const DetailedName> entries) const {
    struct Narrow {
        std::string name, fullName, comment;
    };
    std::vector<Narrow> narrow(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        for (const auto &[wide, text] : {std::pair{&entries[i].name, &narrow[i].name},
                                         std::pair{&entries[i].fullName, &narrow[i].fullName},
                                         std::pair{&entries[i].comment, &narrow[i].comment}}) {
            if (const uint32_t status = toNarrow(wide->c_str(), *text); status != NERR_Success) {
                return status;
            }
        }
    }
    static const UINT detailsMessage = RegisterWindowMessageA(VANTRY_LIST_DETAILS_MESSAGE);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SendMessageA(window_, message_, 0, reinterpret_cast<LPARAM>(narrow[i].name.c_str()));
        const ListDetails details{narrow[i].fullName.c_str(), narrow[i].comment.c_str(),
                                  entries[i].flags};
        SendMessageA(window_, detailsMessage, 0, reinterpret_cast<LPARAM>(&details));
    }
    return NERR_Success;
}

}  // namespace netclient
