#pragma once
// Recoverable input problems come back as a value with a code and a message; nothing
// throws across the core's boundary.

#include <string>
#include <utility>
#include <variant>

namespace pelmora {

struct InputProblem {
    enum class Code { NotFound, NotAFolder, PermissionDenied, ReadFailed, TooLarge, Undecodable };
    Code code;
    std::string message;  // a sentence the user can read, naming the file
    std::string reason;   // the system's short reason, such as "Permission denied"
};

template <typename T>
class Result {
public:
    Result(T value) : v_(std::move(value)) {}                // NOLINT: implicit by design
    Result(InputProblem problem) : v_(std::move(problem)) {}  // NOLINT
    bool ok() const { return v_.index() == 0; }
    const T& value() const { return std::get<0>(v_); }
    T& value() { return std::get<0>(v_); }
    const InputProblem& problem() const { return std::get<1>(v_); }

private:
    std::variant<T, InputProblem> v_;
};

}  // namespace pelmora
