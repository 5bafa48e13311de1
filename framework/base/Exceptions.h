#pragma once
// The framework's exception classes. Every error the framework raises carries a
// fixed, user-readable text; the application's exception display shows it as is.

#include <stdexcept>
#include <string>

// Base of every exception the framework raises. Code that guards a callback
// boundary catches this class and hands it to the application.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Ends the current operation without any message.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// Raises the silent abort.
[[noreturn]] void Abort();

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EStringListError : public Exception {
public:
    using Exception::Exception;
};

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

class EInvalidArgument : public Exception {
public:
    using Exception::Exception;
};

class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

// Replaces every "%s" in a fixed message with the argument, the way the
// framework's fixed texts name the item that failed.
std::string FormatMessageText(const std::string& pattern, const std::string& argument);
