// Where the program's own files are. A build keeps them all in the program's folder. An
// installed program reads its data (the template store, the help document) from the install's
// data folder and, as it may not write beside itself, works in the user's data folder.
#pragma once

#include "store/StoreFolders.h"

#include <filesystem>

// The folder of the template store and the help document: the program's own when they are
// there, else the install's data folder (share/tarnwick beside bin/).
std::filesystem::path ProgramDataFolder();

// The template in the program's data folder. The working copy beside the program when its data
// is there too and it may write there; else in the user's data folder ($XDG_DATA_HOME/tarnwick,
// by default ~/.local/share/tarnwick), made when missing.
StoreFolders ProgramStoreFolders();
