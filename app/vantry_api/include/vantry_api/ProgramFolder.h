// The folder of the running executable. A build keeps its libraries, the template store and
// the working store there; an installed program finds its libraries through its run path and
// keeps the rest in its data folder and the user's (ui/ProgramFiles.h).
#pragma once

#include <filesystem>

std::filesystem::path ProgramFolder();
