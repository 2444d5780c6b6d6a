#pragma once
// The one kind of failure the rating core raises: a conversion or an
// arithmetic error, carrying the message the error box shows.

#include <stdexcept>
#include <string>

namespace kvorn {

enum class ErrorKind { Conversion, DivisionByZero, InvalidOperation, Overflow };

class RatingError : public std::runtime_error {
public:
    RatingError(ErrorKind kind, const std::string& message)
        : std::runtime_error(message), kind_(kind), message_(message)
    {
    }
    ErrorKind kind() const noexcept { return kind_; }
    // The whole message; what() stops at a NUL that a pasted text may hold.
    const std::string& message() const noexcept { return message_; }

private:
    ErrorKind kind_;
    std::string message_;
};

}  // namespace kvorn
