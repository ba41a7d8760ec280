#pragma once

#include <memory>
#include <utility>

namespace framework {

// The one instance of a replaceable service: the program's own
// implementation (Default) until a test or tool installs another.
template <class Interface, class Default>
class ServiceSlot {
public:
    static Interface& Current() { return *Held(); }

    // Installs the replacement; returns the one it replaces.
    static std::unique_ptr<Interface> Replace(std::unique_ptr<Interface> replacement) {
        std::swap(Held(), replacement);
        return replacement;
    }

private:
    static std::unique_ptr<Interface>& Held() {
        static std::unique_ptr<Interface> service = std::make_unique<Default>();
        return service;
    }
};

}  // namespace framework
