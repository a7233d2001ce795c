// Where the store keeps its two files: the template, only ever read, and the working copy. A
// build and the tests keep both in one folder; an installed program reads the template from
// its data folder and works in the user's.
#pragma once

#include <filesystem>
#include <utility>

struct StoreFolders {
    // Not explicit: a folder stands for both, as a build's and a test's does.
    StoreFolders(const std::filesystem::path &both) : templates(both), working(both) {}
    StoreFolders(std::filesystem::path templates, std::filesystem::path working)
        : templates(std::move(templates)), working(std::move(working)) {}

    std::filesystem::path templates;  // holds Template.MDB
    std::filesystem::path working;    // holds Kelvary.MDB
};
