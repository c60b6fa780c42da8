// Method pointers: binding, calling, comparing, the unassigned state.
#include "zintara/framework/method.h"
#include "zintara/framework/object.h"
#include "zintara/framework/types.h"

#include <gtest/gtest.h>

#include <type_traits>

using namespace zn;

namespace {

class TReceiver : public TObject {
public:
    void Paint(TObject* Sender, const TRect& Area)
    {
        LastSender = Sender;
        LastArea = Area;
        ++Calls;
    }
    void Other(TObject*, const TRect&) { ++OtherCalls; }
    int Twice(int Value) const { return Value * 2 + Offset; }

    TObject* LastSender = nullptr;
    TRect LastArea;
    int Calls = 0;
    int OtherCalls = 0;
    int Offset = 0;
};

using TPaintEvent = TMethod<void(TObject*, const TRect&)>;

int Triple(TReceiver* Receiver, int Value)
{
    return Value * 3 + Receiver->Offset;
}

} // namespace

TEST(MethodPointer, CallsTheBoundMemberWithItsArguments)
{
    TReceiver receiver;
    TPaintEvent on_paint = TPaintEvent::Bind<&TReceiver::Paint>(&receiver);
    on_paint(&receiver, Rect(1, 2, 3, 4));
    EXPECT_EQ(receiver.Calls, 1);
    EXPECT_EQ(receiver.LastSender, &receiver);
    EXPECT_EQ(receiver.LastArea, Rect(1, 2, 3, 4));
}

TEST(MethodPointer, ReturnsValuesFromConstMembersAndFreeFunctions)
{
    TReceiver receiver;
    receiver.Offset = 1;
    auto twice = TMethod<int(int)>::Bind<&TReceiver::Twice>(&receiver);
    auto thrice = TMethod<int(int)>::Bind<&Triple>(&receiver);
    EXPECT_EQ(twice(5), 11);
    EXPECT_EQ(thrice(5), 16);
    EXPECT_NE(twice, thrice);
}

TEST(MethodPointer, AssignedAndComparable)
{
    TReceiver a, b;
    TPaintEvent empty;
    EXPECT_FALSE(empty);
    EXPECT_EQ(empty, TPaintEvent(nullptr));
    auto paint_a = TPaintEvent::Bind<&TReceiver::Paint>(&a);
    TPaintEvent copy = paint_a;
    EXPECT_TRUE(copy);
    EXPECT_EQ(copy, paint_a);
    EXPECT_NE(paint_a, TPaintEvent::Bind<&TReceiver::Paint>(&b));
    EXPECT_NE(paint_a, TPaintEvent::Bind<&TReceiver::Other>(&a));
    EXPECT_EQ(copy.Data(), &a);
}

TEST(MethodPointer, CallingAnUnassignedPointerRaises)
{
    TPaintEvent empty;
    EXPECT_THROW(empty(nullptr, TRect{}), EInvalidOperation);
}

TEST(MethodPointer, IsTwoWordsAndTriviallyCopyable)
{
    static_assert(std::is_trivially_copyable_v<TNotifyEvent>);
    EXPECT_EQ(sizeof(TNotifyEvent), 2 * sizeof(void*));
}

TEST(TypedSet, IncludeExcludeAndOperators)
{
    TShiftState state{ssShift, ssLeft};
    EXPECT_TRUE(state.Contains(ssShift));
    EXPECT_FALSE(state.Contains(ssCtrl));
    EXPECT_EQ(state.Bits(), 0b1001u);
    state.Include(ssDouble).Exclude(ssShift);
    EXPECT_EQ(state, (TShiftState{ssLeft, ssDouble}));
    EXPECT_EQ(state + TShiftState{ssAlt}, (TShiftState{ssAlt, ssLeft, ssDouble}));
    EXPECT_EQ(state - TShiftState{ssLeft}, TShiftState{ssDouble});
    EXPECT_EQ(state * (TShiftState{ssLeft, ssCtrl}), TShiftState{ssLeft});
    EXPECT_TRUE(TShiftState{}.Empty());
}

TEST(Geometry, RectangleHelpers)
{
    TRect r = Bounds(10, 20, 30, 40);
    EXPECT_EQ(r, Rect(10, 20, 40, 60));
    EXPECT_EQ(r.Width(), 30);
    EXPECT_EQ(r.Height(), 40);
    EXPECT_FALSE(r.IsEmpty());
    EXPECT_TRUE(Rect(5, 5, 5, 9).IsEmpty());
}
