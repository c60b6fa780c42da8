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
    void Paint(TObject* Sender, const TRect& Area) {
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

int Triple(TReceiver* Receiver, int Value) { return Value * 3 + Receiver->Offset; }

} // namespace

TEST(MethodPointer, CallsTheBoundMemberWithItsArguments) {
    TReceiver Receiver;
    TPaintEvent OnPaint = TPaintEvent::Bind<&TReceiver::Paint>(&Receiver);
    OnPaint(&Receiver, Rect(1, 2, 3, 4));
    EXPECT_EQ(Receiver.Calls, 1);
    EXPECT_EQ(Receiver.LastSender, &Receiver);
    EXPECT_EQ(Receiver.LastArea, Rect(1, 2, 3, 4));
}

TEST(MethodPointer, ReturnsValuesFromConstMembersAndFreeFunctions) {
    TReceiver Receiver;
    Receiver.Offset = 1;
    auto Twice = TMethod<int(int)>::Bind<&TReceiver::Twice>(&Receiver);
    auto Thrice = TMethod<int(int)>::Bind<&Triple>(&Receiver);
    EXPECT_EQ(Twice(5), 11);
    EXPECT_EQ(Thrice(5), 16);
    EXPECT_NE(Twice, Thrice);
}

TEST(MethodPointer, AssignedAndComparable) {
    TReceiver A, B;
    TPaintEvent Empty;
    EXPECT_FALSE(Empty);
    EXPECT_EQ(Empty, TPaintEvent(nullptr));
    auto PaintA = TPaintEvent::Bind<&TReceiver::Paint>(&A);
    TPaintEvent Copy = PaintA;
    EXPECT_TRUE(Copy);
    EXPECT_EQ(Copy, PaintA);
    EXPECT_NE(PaintA, TPaintEvent::Bind<&TReceiver::Paint>(&B));
    EXPECT_NE(PaintA, TPaintEvent::Bind<&TReceiver::Other>(&A));
    EXPECT_EQ(Copy.Data(), &A);
}

TEST(MethodPointer, CallingAnUnassignedPointerRaises) {
    TPaintEvent Empty;
    EXPECT_THROW(Empty(nullptr, TRect{}), EInvalidOperation);
}

TEST(MethodPointer, IsTwoWordsAndTriviallyCopyable) {
    static_assert(std::is_trivially_copyable_v<TNotifyEvent>);
    EXPECT_EQ(sizeof(TNotifyEvent), 2 * sizeof(void*));
}

TEST(TypedSet, IncludeExcludeAndOperators) {
    TShiftState State{ssShift, ssLeft};
    EXPECT_TRUE(State.Contains(ssShift));
    EXPECT_FALSE(State.Contains(ssCtrl));
    EXPECT_EQ(State.Bits(), 0b1001u);
    State.Include(ssDouble).Exclude(ssShift);
    EXPECT_EQ(State, (TShiftState{ssLeft, ssDouble}));
    EXPECT_EQ(State + TShiftState{ssAlt}, (TShiftState{ssAlt, ssLeft, ssDouble}));
    EXPECT_EQ(State - TShiftState{ssLeft}, TShiftState{ssDouble});
    EXPECT_EQ(State * (TShiftState{ssLeft, ssCtrl}), TShiftState{ssLeft});
    EXPECT_TRUE(TShiftState{}.Empty());
}

TEST(Geometry, RectangleHelpers) {
    TRect R = Bounds(10, 20, 30, 40);
    EXPECT_EQ(R, Rect(10, 20, 40, 60));
    EXPECT_EQ(R.Width(), 30);
    EXPECT_EQ(R.Height(), 40);
    EXPECT_FALSE(R.IsEmpty());
    EXPECT_TRUE(Rect(5, 5, 5, 9).IsEmpty());
}
