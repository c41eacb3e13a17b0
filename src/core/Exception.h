// Exceptions of the whole system.
//
// Every failure is raised as an Exception (or a subclass) carrying its
// message text; callers that only report errors catch Exception and show
// Message(). Subclasses exist where callers need to tell kinds apart.
#pragma once

#include <exception>
#include <string>

namespace Vdei {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A value does not convert to the requested type (text to number, variant
// to date, assignment between unrelated persistent classes...).
class EConvertError : public Exception {
  using Exception::Exception;
};

// A variant operation that is not defined for its operands (arrays in
// arithmetic, an index outside an array's bounds).
class EVariantError : public Exception {
  using Exception::Exception;
};

// Integer division or modulo by zero ("Division by zero") and float
// division by zero ("Floating point division by zero").
class EZeroDivide : public Exception {
  using Exception::Exception;
};

// A dataset or database failure: closed dataset, record not in edit mode,
// a statement the database refuses, a duplicate field definition...
class EDatabaseError : public Exception {
  using Exception::Exception;
};

// A file that cannot be opened or created.
class EFOpenError : public Exception {
  using Exception::Exception;
};

// A stream read or write that could not transfer all its bytes.
class EStreamError : public Exception {
  using Exception::Exception;
};

// An index outside a list or collection: "List index out of bounds (%d)".
class EListError : public Exception {
  using Exception::Exception;
};

// An object used as a class it is not: "Invalid class typecast".
class EInvalidCast : public Exception {
  using Exception::Exception;
};

// A published property that does not exist or cannot be written.
class EPropertyError : public Exception {
  using Exception::Exception;
};

// Raises EListError with the framework's text for index.
[[noreturn]] void ThrowListIndexError(int index);

}  // namespace Vdei
