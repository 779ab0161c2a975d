#include "PositionAlign.h"

#include "merge/PriPortal.h"
#include "objects/PriBase.h"

#include <algorithm>
#include <vector>

namespace {

// Moves and sizes through the object's own operations, so a line takes its end points along,
// a picture its drawn copy and a portal its row height.
void Place(TPriBase* o, int x, int y, int w, int h) {
    QPoint grow(w - o->Width, h - o->Height);
    if (auto* portal = dynamic_cast<TPriPortal*>(o); portal && grow.y() != 0)
        grow.setY(grow.y() / std::max(1, int(portal->Rows))); // the portal grows by every row
    if (!grow.isNull()) o->SizeBy(grow);
    const QPoint move(x - o->Left, y - o->Top);
    if (!move.isNull()) o->MoveBy(move);
}

void Distribute(const QList<TPriBase*>& objects, bool horizontal) {
    std::vector<TPriBase*> order(objects.begin(), objects.end());
    auto pos = [horizontal](const TPriBase* o) { return horizontal ? o->Left : o->Top; };
    auto extent = [horizontal](const TPriBase* o) { return horizontal ? o->Width : o->Height; };
    std::stable_sort(order.begin(), order.end(), [&](TPriBase* a, TPriBase* b) { return pos(a) < pos(b); });
    // The span runs from the first object's start to the farthest end among them all.
    const int64_t start = pos(order.front());
    int64_t end = start, sizes = 0;
    for (TPriBase* o : order) {
        end = std::max<int64_t>(end, int64_t(pos(o)) + extent(o));
        sizes += extent(o);
    }
    const int64_t free = end - start - sizes;
    const int64_t gaps = int64_t(order.size()) - 1;
    int64_t before = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        TPriBase* o = order[i];
        // Integer gaps whose remainder is spread over the row, so the last object ends where it did.
        const int p = int(start + before + free * int64_t(i) / gaps);
        if (horizontal)
            Place(o, p, o->Top, o->Width, o->Height);
        else
            Place(o, o->Left, p, o->Width, o->Height);
        before += extent(o);
    }
}

} // namespace

bool TPositionAlign::Apply(TAlignKind kind, const QList<TPriBase*>& objects) {
    if (objects.size() < 2 || objects.contains(nullptr)) return false;
    int left = objects.front()->Left, top = objects.front()->Top;
    int right = left + objects.front()->Width, bottom = top + objects.front()->Height;
    for (const TPriBase* o : objects) {
        left = std::min(left, o->Left);
        top = std::min(top, o->Top);
        right = std::max(right, o->Left + o->Width);
        bottom = std::max(bottom, o->Top + o->Height);
    }
    const TPriBase* first = objects.front();
    switch (kind) {
    case TAlignKind::SpaceHorz: Distribute(objects, true); return true;
    case TAlignKind::SpaceVert: Distribute(objects, false); return true;
    default: break;
    }
    for (TPriBase* o : objects) {
        int x = o->Left, y = o->Top, w = o->Width, h = o->Height;
        switch (kind) {
        case TAlignKind::Left: x = left; break;
        case TAlignKind::Right: x = right - w; break;
        case TAlignKind::Top: y = top; break;
        case TAlignKind::Bottom: y = bottom - h; break;
        case TAlignKind::HorzCenter: x = left + (right - left - w) / 2; break;
        case TAlignKind::VertCenter: y = top + (bottom - top - h) / 2; break;
        case TAlignKind::SameWidth: w = first->Width; break;
        case TAlignKind::SameHeight: h = first->Height; break;
        default: break;
        }
        Place(o, x, y, w, h);
    }
    return true;
}
