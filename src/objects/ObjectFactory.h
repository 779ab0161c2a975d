#pragma once

#include "objects/PriBase.h"

#include <functional>
#include <memory>

// Makes a fresh object of the class a kind code names, as the surface needs for undo copies,
// paste and file load. The kinds of this folder are known from the start; the calendar and merge
// kinds live in higher layers and are registered from above (TObjectKinds::RegisterAll).
// Unknown or unregistered kinds give nothing.
class TObjectFactory {
public:
    using TMaker = std::function<std::unique_ptr<TPriBase>()>;

    static std::unique_ptr<TPriBase> Create(int kind);
    static bool IsKnownKind(int kind);
    // Replaces any maker already registered for the kind; kinds outside the stored codes are refused.
    static bool Register(int kind, TMaker maker);
};
