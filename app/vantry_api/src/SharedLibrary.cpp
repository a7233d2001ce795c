#include "vantry_api/SharedLibrary.h"

#include "status/ProgramError.h"
#include "vantry_api/ProgramFolder.h"

#include <dlfcn.h>

namespace {

const char *const kSource = "modVantryDeclare";

std::string lastLoaderError() {
    const char *error = dlerror();
    return error != nullptr ? error : "unknown loader error";
}

}  // namespace

SharedLibrary::SharedLibrary(std::string fileName) : fileName_(std::move(fileName)) {}

void SharedLibrary::Closer::operator()(void *handle) const { dlclose(handle); }

void SharedLibrary::load(const char *forExport) {
    const std::string besideProgram = (ProgramFolder() / fileName_).string();
    void *handle = dlopen(besideProgram.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        handle = dlopen(fileName_.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    if (handle == nullptr) {
        throw ProgramError(
            kProgramErrorNumber, kSource,
            "Unable to load " + fileName_ + " for " + forExport + ": " + lastLoaderError());
    }
    handle_.reset(handle);
}

void *SharedLibrary::resolve(const char *exportName) {
    if (!handle_) {
        load(exportName);
    }
    void *address = dlsym(handle_.get(), exportName);
    if (address == nullptr) {
        throw ProgramError(kProgramErrorNumber, kSource,
                           "Export " + std::string(exportName) + " not found in " + fileName_);
    }
    return address;
}
