// The folder of the running executable: the program keeps its libraries, the template store
// and the working store there.
#pragma once

#include <filesystem>

std::filesystem::path ProgramFolder();
