#include "objects/ObjectFactory.h"

#include "calendar/PriCarendar.h"
#include "merge/PriField.h"
#include "merge/PriPortal.h"
#include "objects/PriImage.h"
#include "objects/PriLabel.h"
#include "objects/PriLine.h"
#include "objects/PriShape.h"

std::unique_ptr<TPriBase> TObjectFactory::Create(int kind) {
    switch (kind) {
    case okLabel: return std::make_unique<TPriLabel>();
    case okImage: return std::make_unique<TPriImage>();
    case okShape: return std::make_unique<TPriShape>();
    case okField: return std::make_unique<TPriField>();
    case okLine: return std::make_unique<TPriLine>();
    case okPortal: return std::make_unique<TPriPortal>();
    case okCarendar: return std::make_unique<TPriCarendar>();
    default: return nullptr;
    }
}

bool TObjectFactory::IsKnownKind(int kind) { return kind >= okLabel && kind <= okCarendar; }
