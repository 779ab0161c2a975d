#include "document/ObjectKinds.h"

#include "calendar/PriCarendar.h"
#include "merge/PriField.h"
#include "merge/PriPortal.h"
#include "objects/ObjectFactory.h"

#include <mutex>

void TObjectKinds::RegisterAll() {
    static std::once_flag once;
    std::call_once(once, [] {
        TObjectFactory::Register(okField, [] { return std::make_unique<TPriField>(); });
        TObjectFactory::Register(okPortal, [] { return std::make_unique<TPriPortal>(); });
        TObjectFactory::Register(okCarendar, [] { return std::make_unique<TPriCarendar>(); });
    });
}
