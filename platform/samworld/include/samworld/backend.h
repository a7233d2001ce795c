// The embedded world as the backend of the network account calls. One connection to the world
// (World::openDefault) is kept for the process and opened again whenever the default path names
// another file: the variable changed, or the file was replaced. Calls from any thread take turns
// on it; other processes share the file through its write-ahead log.
#pragma once

#include "backend/backend.h"
#include "samworld/world.h"

#include <sys/types.h>

#include <mutex>
#include <optional>
#include <string>

namespace samworld {

class WorldBackend : public backend::Backend {
public:
    std::unique_ptr<backend::Target> target(std::string_view call, std::string_view server) override;

private:
    // Which file a path names: replacing the file changes its inode.
    struct FileIdentity {
        std::string path;
        dev_t device = 0;
        ino_t inode = 0;
        bool operator==(const FileIdentity &) const = default;
    };
    static std::optional<FileIdentity> identify(const std::string &path);
    // The world the default path names now, opened again when that is another file.
    const World &current();

    std::mutex mutex_;
    std::optional<World> world_;
    FileIdentity opened_;
};

}  // namespace samworld
