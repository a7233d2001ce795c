#include "ui/ProgramFiles.h"

#include "ui/AppInfo.h"
#include "vantry_api/ProgramFolder.h"

#include <QStandardPaths>

#include <unistd.h>

std::filesystem::path ProgramDataFolder() {
    const std::filesystem::path program = ProgramFolder();
    if (std::filesystem::exists(program / "Template.MDB")) return program;
    return (program / kDataFolderFromProgram).lexically_normal();
}

StoreFolders ProgramStoreFolders() {
    const std::filesystem::path program = ProgramFolder();
    const std::filesystem::path data = ProgramDataFolder();
    if (data == program && access(program.c_str(), W_OK) == 0) return program;
    const std::filesystem::path user =
        std::filesystem::path(
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString()) /
        "tarnwick";
    // A folder that cannot be made is reported when the store is first written there.
    std::error_code ignored;
    std::filesystem::create_directories(user, ignored);
    return {data, user};
}
