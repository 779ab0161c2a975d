#pragma once

#include <QList>

class TPriBase;

// Alignment of several objects by their view bounds, in place.
enum class TAlignKind {
    Left,
    Right,
    Top,
    Bottom,
    HorzCenter,
    VertCenter,
    SameWidth,
    SameHeight,
    SpaceHorz,
    SpaceVert,
};

class TPositionAlign {
public:
    // Edges align with the outermost edge of all the objects, centres with the centre of the
    // rectangle around them, sizes with the first object's (the first one selected). Spacing
    // keeps the outermost objects where they are and gives equal gaps between neighbours.
    // Returns false, changing nothing, with fewer than two objects.
    static bool Apply(TAlignKind kind, const QList<TPriBase*>& objects);
};
