#include "objects/PriBase.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// A plain box object: the base with nothing added.
class TBox : public TPriBase {};

} // namespace

TEST(PriBaseTest, EdgesOfTheBoundsHitOnePixelBeyondDoesNot) {
    TBox b;
    b.SetBounds(10, 20, 100, 50);
    EXPECT_TRUE(b.PtInObject({110, 70}));
    EXPECT_TRUE(b.PtInObject({10, 20}));
    EXPECT_FALSE(b.PtInObject({111, 70}));
    EXPECT_FALSE(b.PtInObject({110, 71}));
    b.UndoCheck = true;
    EXPECT_FALSE(b.PtInObject({50, 40}));
    EXPECT_FALSE(b.ObjectInRect({0, 0, 1000, 1000}));
}
