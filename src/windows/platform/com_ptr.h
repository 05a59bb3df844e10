#pragma once
// Releases a COM interface when it goes out of scope.
namespace lumora {

template <typename T> struct ComPtr {
    T* p = nullptr;
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }
    void reset() {
        if (p != nullptr) {
            p->Release();
            p = nullptr;
        }
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

} // namespace lumora
