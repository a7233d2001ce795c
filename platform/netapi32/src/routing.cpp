#include "routing.h"

#include "directory/backend.h"
#include "samworld/backend.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <mutex>

namespace netapi {
namespace {

// A version of the configuration file: any change to it gives another.
struct FileVersion {
    std::filesystem::path path;
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    int64_t modified = 0;  // nanoseconds
    bool operator==(const FileVersion &) const = default;
};

FileVersion versionOf(const std::filesystem::path &path) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0) return {path};
    return {path, true, status.st_dev, status.st_ino, status.st_size,
            status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec};
}

class Backends {
public:
    std::shared_ptr<backend::Backend> forNames(std::string_view server, std::string_view domain) {
        const std::lock_guard guard(mutex_);
        refresh();
        for (const std::string_view name : {domain, server}) {
            const auto listed = std::find_if(domains_.begin(), domains_.end(),
                                             [&](const directory::DirectoryDomain &d) { return d.isNamedBy(name); });
            if (listed != domains_.end()) return directoryOf(*listed);
        }
        return world_;
    }

private:
    // Reads the configuration again when the file changed; a malformed file stays an error
    // until it is mended.
    void refresh() {
        const FileVersion now = versionOf(directory::configurationPath());
        if (read_ && now == version_) return;
        read_ = false;
        directories_.clear();
        domains_ = directory::readConfiguration(now.path);
        version_ = now;
        read_ = true;
    }

    std::shared_ptr<backend::Backend> directoryOf(const directory::DirectoryDomain &domain) {
        auto &kept = directories_[domain.netbiosName];
        if (!kept) kept = directory::open(domain);
        return kept;
    }

    std::mutex mutex_;
    std::shared_ptr<backend::Backend> world_ = std::make_shared<samworld::WorldBackend>();
    bool read_ = false;
    FileVersion version_;
    std::vector<directory::DirectoryDomain> domains_;
    std::map<std::string, std::shared_ptr<backend::Backend>> directories_;
};

}  // namespace

std::shared_ptr<backend::Backend> backendFor(std::string_view server, std::string_view domain) {
    static Backends kept;
    return kept.forNames(server, domain);
}

}  // namespace netapi
