#include "objects/ObjectFactory.h"

// Each object kind adds its include and its case here.

std::unique_ptr<TPriBase> TObjectFactory::Create(int kind) {
    switch (kind) {
    default: return nullptr;
    }
}

bool TObjectFactory::IsKnownKind(int kind) { return kind >= okLabel && kind <= okCarendar; }
