#pragma once

#include <stdexcept>
#include <string>

namespace fw {

// Base of the framework's own failures. Every one names its kind, so that the
// unhandled-exception report can say what went wrong as well as where.
class RuntimeException : public std::runtime_error {
public:
    explicit RuntimeException(const std::string& message) : std::runtime_error(message) {}
    virtual std::string TypeName() const { return "RuntimeException"; }
};

// Access through a reference to no object, or a lookup that found nothing.
class NilObjectException : public RuntimeException {
public:
    explicit NilObjectException(const std::string& message) : RuntimeException(message) {}
    std::string TypeName() const override { return "NilObjectException"; }
};

// An index outside the bounds of an array, a list or a design record.
class OutOfBoundsException : public RuntimeException {
public:
    explicit OutOfBoundsException(const std::string& message) : RuntimeException(message) {}
    std::string TypeName() const override { return "OutOfBoundsException"; }
};

// A system function that a library does not offer.
class FunctionNotFoundException : public RuntimeException {
public:
    FunctionNotFoundException(std::string function, std::string library)
        : RuntimeException("function '" + function + "' not found in '" + library + "'")
        , function_(std::move(function))
        , library_(std::move(library)) {}
    std::string TypeName() const override { return "FunctionNotFoundException"; }
    const std::string& Function() const { return function_; }
    const std::string& Library() const { return library_; }

private:
    std::string function_;
    std::string library_;
};

} // namespace fw
