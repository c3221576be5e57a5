// Opaque handles: each object lives in a table under a small number that is
// never reused while the process runs, so a stale handle finds nothing and
// the call that got it fails without effect, as on Windows.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <utility>

namespace orvex_platform {

template <class T>
class HandleTable {
public:
    explicit HandleTable(std::uintptr_t first, std::uintptr_t step = 4) : next_(first), step_(step) {}

    template <class H>
    H add(std::unique_ptr<T> object) {
        std::uintptr_t key = next_;
        next_ += step_;
        items_.emplace(key, std::move(object));
        return reinterpret_cast<H>(key);
    }

    template <class H>
    T* find(H handle) const {
        auto it = items_.find(reinterpret_cast<std::uintptr_t>(handle));
        return it == items_.end() ? nullptr : it->second.get();
    }

    template <class H>
    std::unique_ptr<T> take(H handle) {
        auto it = items_.find(reinterpret_cast<std::uintptr_t>(handle));
        if (it == items_.end()) return nullptr;
        std::unique_ptr<T> object = std::move(it->second);
        items_.erase(it);
        return object;
    }

    std::size_t size() const { return items_.size(); }

    template <class F>
    void for_each(F&& f) const {
        for (const auto& [key, object] : items_) f(key, *object);
    }

private:
    std::map<std::uintptr_t, std::unique_ptr<T>> items_;
    std::uintptr_t next_;
    std::uintptr_t step_;
};

}  // namespace orvex_platform
