// The one error type the program raises: a number, the source that raised it and a
// description. Account objects and the store raise their own failures with
// kProgramErrorNumber; every other failure keeps the number of whatever reported it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

inline constexpr int32_t kProgramErrorNumber = static_cast<int32_t>(0x80040001u);

class ProgramError : public std::runtime_error {
public:
    ProgramError(int32_t number, std::string source, const std::string &description)
        : std::runtime_error(description), number_(number), source_(std::move(source)) {}

    int32_t number() const { return number_; }
    const std::string &source() const { return source_; }
    std::string description() const { return what(); }

private:
    int32_t number_;
    std::string source_;
};

// The error being handled, as a ProgramError; call it only inside a catch block. Foreign
// exceptions keep their text and take kProgramErrorNumber with the source "Tarnwick".
inline ProgramError CurrentError() {
    try {
        throw;
    } catch (const ProgramError &error) {
        return error;
    } catch (const std::exception &error) {
        return {kProgramErrorNumber, "Tarnwick", error.what()};
    } catch (...) {
        return {kProgramErrorNumber, "Tarnwick", "Unknown error"};
    }
}
