// Ownership, names, state and notifications of components; the default Assign.
#include "zintara/framework/component.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zn;

namespace {

// Records the notifications it receives and counts its own destruction.
class TWatcher : public TComponent {
public:
    explicit TWatcher(TComponent* AOwner, int* Destroyed = nullptr) : TComponent(AOwner), FDestroyed(Destroyed) {}
    ~TWatcher() override {
        if (FDestroyed) ++*FDestroyed;
    }
    std::vector<std::pair<TComponent*, TOperation>> Received;
    TComponent* FreeOnRemoval = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        Received.emplace_back(AComponent, Operation);
        if (Operation == opRemove && FreeOnRemoval && AComponent != FreeOnRemoval) {
            TComponent* Victim = FreeOnRemoval;
            FreeOnRemoval = nullptr;
            delete Victim;
        }
    }

private:
    int* FDestroyed;
};

} // namespace

TEST(ComponentOwnership, OwnedComponentsAreFreedWithTheirOwner) {
    int Destroyed = 0;
    auto* Owner = new TComponent(nullptr);
    auto* First = new TWatcher(Owner, &Destroyed);
    new TWatcher(First, &Destroyed);
    new TWatcher(Owner, &Destroyed);
    EXPECT_EQ(Owner->ComponentCount(), 2);
    EXPECT_EQ(Owner->Components(0), First);
    EXPECT_EQ(First->Owner(), Owner);
    delete Owner;
    EXPECT_EQ(Destroyed, 3);
}

TEST(ComponentOwnership, FreeingAComponentRemovesItFromItsOwner) {
    TComponent Owner(nullptr);
    auto* Child = new TComponent(&Owner);
    auto* Other = new TComponent(&Owner);
    delete Child;
    ASSERT_EQ(Owner.ComponentCount(), 1);
    EXPECT_EQ(Owner.Components(0), Other);
    EXPECT_EQ(Other->ComponentIndex(), 0);
    EXPECT_THROW(Owner.Components(1), EListError);
    EXPECT_THROW(Owner.Components(-1), EListError);
}

TEST(ComponentOwnership, InsertComponentMovesBetweenOwners) {
    TComponent A(nullptr), B(nullptr);
    auto* Child = new TComponent(&A);
    B.InsertComponent(Child);
    EXPECT_EQ(A.ComponentCount(), 0);
    EXPECT_EQ(B.ComponentCount(), 1);
    EXPECT_EQ(Child->Owner(), &B);
}

TEST(ComponentNames, NamesAreIdentifiersUniqueAmongSiblings) {
    TComponent Owner(nullptr);
    auto* First = new TComponent(&Owner);
    auto* Second = new TComponent(&Owner);
    First->SetName(L"Player1");
    EXPECT_EQ(Owner.FindComponent(L"PLAYER1"), First);
    try {
        Second->SetName(L"player1");
        FAIL() << "a duplicate name was accepted";
    } catch (const EComponentError& E) {
        EXPECT_EQ(E.Message(), L"A component named player1 already exists");
    }
    EXPECT_THROW(Second->SetName(L"1abc"), EComponentError);
    EXPECT_THROW(Second->SetName(L"a b"), EComponentError);
    EXPECT_EQ(Second->Name(), L"");
    Second->SetName(L"_Second2");
    First->SetName(L"PLAYER1");
    EXPECT_EQ(First->Name(), L"PLAYER1");
    First->SetName(L"");
    EXPECT_EQ(Owner.FindComponent(L""), nullptr);
}

TEST(ComponentNames, InsertingAComponentWhoseNameIsTakenFails) {
    TComponent Owner(nullptr), Elsewhere(nullptr);
    (new TComponent(&Owner))->SetName(L"List");
    auto* Stranger = new TComponent(&Elsewhere);
    Stranger->SetName(L"List");
    EXPECT_THROW(Owner.InsertComponent(Stranger), EComponentError);
    EXPECT_EQ(Stranger->Owner(), &Elsewhere);
}

TEST(ComponentState, LoadingAndDesigningFlags) {
    TComponent Owner(nullptr);
    auto* Child = new TComponent(&Owner);
    EXPECT_TRUE(Owner.ComponentState().Empty());
    Owner.SetDesigning(true);
    EXPECT_TRUE(Child->ComponentState().Contains(csDesigning));
    Owner.BeginLoading();
    EXPECT_TRUE(Owner.ComponentState().Contains(csLoading));
    EXPECT_TRUE(Owner.ComponentState().Contains(csReading));
    Owner.EndReading();
    EXPECT_FALSE(Owner.ComponentState().Contains(csReading));
    Owner.Loaded();
    EXPECT_FALSE(Owner.ComponentState().Contains(csLoading));
}

TEST(ComponentNotification, InsertAndRemoveReachTheOwnedComponents) {
    TComponent Owner(nullptr);
    auto* Watcher = new TWatcher(&Owner);
    auto* Added = new TComponent(&Owner);
    delete Added;
    // The watcher's own insertion happened while it was still being constructed, so it
    // reached the base class only.
    ASSERT_EQ(Watcher->Received.size(), 2u);
    EXPECT_EQ(Watcher->Received[0], std::make_pair(Added, opInsert));
    EXPECT_EQ(Watcher->Received[1], std::make_pair(Added, opRemove));
}

TEST(ComponentNotification, FreeNotificationCrossesOwners) {
    TComponent FormA(nullptr), FormB(nullptr);
    auto* Watcher = new TWatcher(&FormA);
    auto* Target = new TComponent(&FormB);
    Watcher->FreeNotification(Target);
    Watcher->Received.clear();
    delete Target;
    ASSERT_EQ(Watcher->Received.size(), 1u);
    EXPECT_EQ(Watcher->Received[0].second, opRemove);
    // The link is gone on both sides: freeing the watcher now must not touch the target.
    delete Watcher;
}

TEST(ComponentNotification, DestructionSurvivesHandlersThatFreeSiblings) {
    int Destroyed = 0;
    auto* Owner = new TComponent(nullptr);
    auto* Doomed = new TWatcher(Owner, &Destroyed);
    auto* Watcher = new TWatcher(Owner, &Destroyed);
    auto* Removed = new TWatcher(Owner, &Destroyed);
    new TWatcher(Owner, &Destroyed);
    Watcher->FreeOnRemoval = Doomed;
    delete Removed;
    EXPECT_EQ(Destroyed, 2);
    EXPECT_EQ(Owner->ComponentCount(), 2);
    delete Owner;
    EXPECT_EQ(Destroyed, 4);
}

TEST(PersistentAssign, DefaultAssignRaisesAConversionError) {
    TComponent A(nullptr), B(nullptr);
    try {
        A.Assign(&B);
        FAIL() << "Assign did not raise";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), L"Cannot assign a TComponent to a TComponent");
        EXPECT_STREQ(E.what(), "Cannot assign a TComponent to a TComponent");
    }
    EXPECT_THROW(A.Assign(nullptr), EConvertError);
}

TEST(ClassInformation, NamesAndAncestry) {
    TComponent A(nullptr);
    EXPECT_EQ(A.ClassName(), L"TComponent");
    EXPECT_TRUE(A.InheritsFrom(TPersistent::ClassInfo()));
    EXPECT_FALSE(TPersistent::ClassInfo().InheritsFrom(TComponent::ClassInfo()));
    EXPECT_NE(TComponent::ClassInfo().CreateComponent, nullptr);
    EXPECT_NE(TComponent::ClassInfo().FindProperty(L"name"), nullptr);
}
