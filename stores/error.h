#pragma once
// Failures come back as values with a code and a message; nothing throws across the core's
// boundary.

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace pelmora {

struct Error {
    enum class Code {
        NotFound,
        NotAFolder,
        PermissionDenied,
        NameTooLong,
        ReadFailed,
        TooLarge,
        NotUtf8,           // a text that must be UTF-8 is not
        RecordUnusable,    // a run record that cannot be read as one
        MetadataUnusable,  // a metadata table that cannot be loaded
        CaseUnusable,      // a case file that cannot be read as one, or is of a newer format
        WriteFailed,
        Unconvertible,  // a source that cannot be made into a text: its reason is the message
        Cancelled,      // the user stopped the work
    };
    Code code;
    std::string message;  // a sentence the user can read, naming the file
    std::string reason;   // the system's short reason, such as "Permission denied"
};

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::move(value)) {}      // NOLINT: implicit by design
    Result(Error error) : v_(std::move(error)) {}  // NOLINT
    bool ok() const { return v_.index() == 0; }
    const T& value() const {
        assert(ok());
        return std::get<0>(v_);
    }
    T& value() {
        assert(ok());
        return std::get<0>(v_);
    }
    const Error& error() const {
        assert(!ok());
        return std::get<1>(v_);
    }

private:
    std::variant<T, Error> v_;
};

}  // namespace pelmora
