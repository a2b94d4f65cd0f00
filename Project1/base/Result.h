// One error style for the whole program: an operation returns a value or a message for the user.
// The shared floor every part of the tree stands on, so it knows nothing of any of them.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace zanthera {

struct Error {
    std::string message;
};

// A failure as the user reads it: what went wrong, in Arabic, then on the next line the
// technical detail (the program tried, the system's error text) for whoever has to mend it.
inline Error explained(std::string_view headline, const Error& detail) {
    return Error{std::string(headline) + "\n" + detail.message};
}

template <typename T> class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }
    const Error& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, Error> state_;
};

struct Done {};
using Status = Result<Done>;

inline Status success() {
    return Done{};
}

} // namespace zanthera
