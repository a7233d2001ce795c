#include "netclient/list_target.hpp"

#include "netclient/text.hpp"

#include <vector>

namespace netclient {

ListTarget::ListTarget(int32_t listKind, HWND window)
    : message_(listKind != 0 ? LB_ADDSTRING : CB_ADDSTRING), window_(window) {}

uint32_t ListTarget::deliver(std::span<const std::u16string> names,
                             const std::function<void(HWND, std::size_t)> &afterName) const {
    std::vector<std::string> narrow(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (const uint32_t status = toNarrow(names[i].c_str(), narrow[i]); status != NERR_Success) {
            return status;
        }
    }
    for (std::size_t i = 0; i < narrow.size(); ++i) {
        SendMessageA(window_, message_, 0, reinterpret_cast<LPARAM>(narrow[i].c_str()));
        if (afterName) afterName(window_, i);
    }
    return NERR_Success;
}

}  // namespace netclient
