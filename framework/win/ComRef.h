#pragma once
// One counted reference to a COM object, released when it goes.

#include <utility>

template <class T>
class TComRef {
public:
    TComRef() = default;
    // Takes over a reference the caller already holds.
    explicit TComRef(T* object) : object_(object) {}
    TComRef(const TComRef& other) : object_(other.object_)
    {
        if (object_)
            object_->AddRef();
    }
    TComRef(TComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    TComRef& operator=(TComRef other) noexcept
    {
        std::swap(object_, other.object_);
        return *this;
    }
    ~TComRef() { Reset(); }

    // Adds a reference of its own to an object someone else holds.
    static TComRef Share(T* object)
    {
        if (object)
            object->AddRef();
        return TComRef(object);
    }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // For the out parameters of COM calls: releases what is held first.
    T** Receive()
    {
        Reset();
        return &object_;
    }
    void Reset()
    {
        if (object_)
            std::exchange(object_, nullptr)->Release();
    }
    T* Detach() { return std::exchange(object_, nullptr); }

private:
    T* object_ = nullptr;
};
