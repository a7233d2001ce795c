// Late binding of a library's exports by name, as the program uses the account service
// library: nothing is loaded until the first call of an export needs it.
#pragma once

#include <memory>
#include <string>

class SharedLibrary {
public:
    explicit SharedLibrary(std::string fileName);

    const std::string &fileName() const { return fileName_; }
    // The export's address. Loads the library on first use from the program's folder or, when
    // it is not there, from the default search path. A library that cannot be loaded or a
    // missing export raises ProgramError naming both, with the loader's reason.
    void *resolve(const char *exportName);

private:
    struct Closer {
        void operator()(void *handle) const;
    };
    void load(const char *forExport);

    std::string fileName_;
    std::unique_ptr<void, Closer> handle_;
};

template <typename Signature>
class LateBound;

// One export, bound at its first call and called directly afterwards.
template <typename Result, typename... Args>
class LateBound<Result(Args...)> {
public:
    LateBound(SharedLibrary &library, const char *exportName)
        : library_(library), exportName_(exportName) {}

    Result operator()(Args... args) const { return function()(args...); }

private:
    using Function = Result (*)(Args...);

    Function function() const {
        if (function_ == nullptr) {
            function_ = reinterpret_cast<Function>(library_.resolve(exportName_));
        }
        return function_;
    }

    SharedLibrary &library_;
    const char *exportName_;
    mutable Function function_ = nullptr;
};
