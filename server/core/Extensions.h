#pragma once

#include <memory>
#include <typeindex>
#include <unordered_map>

namespace veltrin::server {

// Per-room and per-client state of features that the core does not know about (a room's chat
// log, a client's boards…). A feature asks for its own type and gets one default-constructed
// instance per owner, so adding a feature never touches the core's classes.
class Extensions {
public:
    template <class T>
    T& get() {
        auto& slot = slots_[std::type_index(typeid(T))];
        if (!slot) slot = std::make_shared<T>();
        return *static_cast<T*>(slot.get());
    }
    template <class T>
    T* find() {
        auto it = slots_.find(std::type_index(typeid(T)));
        return it == slots_.end() ? nullptr : static_cast<T*>(it->second.get());
    }

private:
    std::unordered_map<std::type_index, std::shared_ptr<void>> slots_;
};

}  // namespace veltrin::server
