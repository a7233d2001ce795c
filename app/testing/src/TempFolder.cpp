#include "testing/TempFolder.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("Cannot create a temporary folder from " + pattern);
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;  // a folder that cannot be removed must not fail the test run
    std::filesystem::remove_all(path_, ignored);
}
