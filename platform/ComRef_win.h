#pragma once
// Owns one reference to a COM object.
#include "platform/Win32_win.h"

namespace velt {

template <typename T>
class ComRef {
public:
    ComRef() = default;
    explicit ComRef(T* pointer) : m_pointer(pointer) {}
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : m_pointer(other.m_pointer) { other.m_pointer = nullptr; }
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            reset();
            m_pointer = other.m_pointer;
            other.m_pointer = nullptr;
        }
        return *this;
    }

    T** put() {
        reset();
        return &m_pointer;
    }
    T* get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }
    T* release() {
        T* pointer = m_pointer;
        m_pointer = nullptr;
        return pointer;
    }
    void reset() {
        if (m_pointer) m_pointer->Release();
        m_pointer = nullptr;
    }

private:
    T* m_pointer = nullptr;
};

} // namespace velt
