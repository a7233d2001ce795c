#include "vantry_api/SharedLibrary.h"

#include "status/ProgramError.h"
#include "vantry_api/ProgramFolder.h"

#include <dlfcn.h>

#include <filesystem>

namespace {

const char *const kSource = "modVantryDeclare";

std::string lastLoaderError() {
    const char *error = dlerror();
    return error != nullptr ? error : "unknown loader error";
}

}  // namespace

SharedLibrary::SharedLibrary(std::string fileName) : fileName_(std::move(fileName)) {}

void SharedLibrary::Closer::operator()(void *handle) const { dlclose(handle); }

// The library beside the program when there is one; its loader error is the reason it cannot
// be used, which a second attempt elsewhere would hide behind "no such file".
void SharedLibrary::load(const char *forExport) {
    const std::filesystem::path besideProgram = ProgramFolder() / fileName_;
    std::error_code ignored;
    const std::string path =
        std::filesystem::exists(besideProgram, ignored) ? besideProgram.string() : fileName_;
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
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
