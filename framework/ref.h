#pragma once

#include "framework/exceptions.h"

#include <memory>
#include <type_traits>
#include <utility>

namespace fw {

// A counted reference to a framework object, or to none. Reading through a
// reference to none raises NilObjectException instead of crashing, so a
// missing picture or file surfaces as a reported failure of one handler.
template <class T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    explicit Ref(std::shared_ptr<T> object) : object_(std::move(object)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& other) : object_(other.Shared()) {}

    T& operator*() const { return Get(); }
    T* operator->() const { return &Get(); }
    T& Get() const {
        if (!object_) {
            throw NilObjectException("access through a reference to no object");
        }
        return *object_;
    }

    explicit operator bool() const { return object_ != nullptr; }
    const std::shared_ptr<T>& Shared() const { return object_; }

    friend bool operator==(const Ref& a, const Ref& b) { return a.object_ == b.object_; }
    friend bool operator!=(const Ref& a, const Ref& b) { return a.object_ != b.object_; }

private:
    std::shared_ptr<T> object_;
};

// Creates a framework object and returns the first reference to it.
template <class T, class... Args>
Ref<T> New(Args&&... args) {
    return Ref<T>(std::make_shared<T>(std::forward<Args>(args)...));
}

} // namespace fw
