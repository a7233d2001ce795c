#include "vantry_api/modVantryDeclare.h"

namespace modVantryDeclare {

SharedLibrary &VantryLibrary() {
    static SharedLibrary library("libvantry.so");
    return library;
}

SharedLibrary &OrlopLibrary() {
    static SharedLibrary library("liborlop.so");
    return library;
}

}  // namespace modVantryDeclare
