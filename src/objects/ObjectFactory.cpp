#include "objects/ObjectFactory.h"

#include "objects/PriImage.h"
#include "objects/PriLabel.h"
#include "objects/PriLine.h"
#include "objects/PriShape.h"

#include <array>
#include <mutex>

namespace {

constexpr int kFirstKind = okLabel;
constexpr int kLastKind = okCarendar;

struct TRegistry {
    std::mutex Lock;
    std::array<TObjectFactory::TMaker, kLastKind - kFirstKind + 1> Makers;

    TRegistry() {
        Makers[okLabel] = [] { return std::make_unique<TPriLabel>(); };
        Makers[okImage] = [] { return std::make_unique<TPriImage>(); };
        Makers[okShape] = [] { return std::make_unique<TPriShape>(); };
        Makers[okLine] = [] { return std::make_unique<TPriLine>(); };
    }
};

// Built on first use, so registrations never depend on the order of static initialisers.
TRegistry& Registry() {
    static TRegistry registry;
    return registry;
}

bool InRange(int kind) {
    return kind >= kFirstKind && kind <= kLastKind;
}

} // namespace

std::unique_ptr<TPriBase> TObjectFactory::Create(int kind) {
    if (!InRange(kind)) return nullptr;
    TMaker maker;
    {
        std::lock_guard guard(Registry().Lock);
        maker = Registry().Makers[size_t(kind - kFirstKind)];
    }
    return maker ? maker() : nullptr;
}

bool TObjectFactory::IsKnownKind(int kind) {
    if (!InRange(kind)) return false;
    std::lock_guard guard(Registry().Lock);
    return bool(Registry().Makers[size_t(kind - kFirstKind)]);
}

bool TObjectFactory::Register(int kind, TMaker maker) {
    if (!InRange(kind) || !maker) return false;
    std::lock_guard guard(Registry().Lock);
    Registry().Makers[size_t(kind - kFirstKind)] = std::move(maker);
    return true;
}
