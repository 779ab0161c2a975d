#pragma once

#include "objects/PriBase.h"

#include <memory>

// Makes a fresh object of the class a kind code names, as the surface needs for undo copies,
// paste and file load. Unknown kinds give nothing.
class TObjectFactory {
public:
    static std::unique_ptr<TPriBase> Create(int kind);
    static bool IsKnownKind(int kind);
};
