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
    explicit TWatcher(TComponent* AOwner, int* Destroyed = nullptr)
        : TComponent(AOwner), FDestroyed(Destroyed)
    {}
    ~TWatcher() override
    {
        if (FDestroyed)
            ++*FDestroyed;
    }
    std::vector<std::pair<TComponent*, TOperation>> Received;
    TComponent* FreeOnRemoval = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        Received.emplace_back(AComponent, Operation);
        if (Operation == opRemove && FreeOnRemoval && AComponent != FreeOnRemoval) {
            TComponent* victim = FreeOnRemoval;
            FreeOnRemoval = nullptr;
            delete victim;
        }
    }

private:
    int* FDestroyed;
};

} // namespace

TEST(ComponentOwnership, OwnedComponentsAreFreedWithTheirOwner)
{
    int destroyed = 0;
    auto* owner = new TComponent(nullptr);
    auto* first = new TWatcher(owner, &destroyed);
    new TWatcher(first, &destroyed);
    new TWatcher(owner, &destroyed);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(0), first);
    EXPECT_EQ(first->Owner(), owner);
    delete owner;
    EXPECT_EQ(destroyed, 3);
}

TEST(ComponentOwnership, FreeingAComponentRemovesItFromItsOwner)
{
    TComponent owner(nullptr);
    auto* child = new TComponent(&owner);
    auto* other = new TComponent(&owner);
    delete child;
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), other);
    EXPECT_EQ(other->ComponentIndex(), 0);
    EXPECT_THROW(owner.Components(1), EListError);
    EXPECT_THROW(owner.Components(-1), EListError);
}

TEST(ComponentOwnership, InsertComponentMovesBetweenOwners)
{
    TComponent a(nullptr), b(nullptr);
    auto* child = new TComponent(&a);
    b.InsertComponent(child);
    EXPECT_EQ(a.ComponentCount(), 0);
    EXPECT_EQ(b.ComponentCount(), 1);
    EXPECT_EQ(child->Owner(), &b);
}

TEST(ComponentNames, NamesAreIdentifiersUniqueAmongSiblings)
{
    TComponent owner(nullptr);
    auto* first = new TComponent(&owner);
    auto* second = new TComponent(&owner);
    first->SetName(L"Player1");
    EXPECT_EQ(owner.FindComponent(L"PLAYER1"), first);
    try {
        second->SetName(L"player1");
        FAIL() << "a duplicate name was accepted";
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), L"A component named player1 already exists");
    }
    EXPECT_THROW(second->SetName(L"1abc"), EComponentError);
    EXPECT_THROW(second->SetName(L"a b"), EComponentError);
    EXPECT_EQ(second->Name(), L"");
    second->SetName(L"_Second2");
    first->SetName(L"PLAYER1");
    EXPECT_EQ(first->Name(), L"PLAYER1");
    first->SetName(L"");
    EXPECT_EQ(owner.FindComponent(L""), nullptr);
}

TEST(ComponentNames, InsertingAComponentWhoseNameIsTakenFails)
{
    TComponent owner(nullptr), elsewhere(nullptr);
    (new TComponent(&owner))->SetName(L"List");
    auto* stranger = new TComponent(&elsewhere);
    stranger->SetName(L"List");
    EXPECT_THROW(owner.InsertComponent(stranger), EComponentError);
    EXPECT_EQ(stranger->Owner(), &elsewhere);
}

TEST(ComponentState, LoadingAndDesigningFlags)
{
    TComponent owner(nullptr);
    auto* child = new TComponent(&owner);
    EXPECT_TRUE(owner.ComponentState().Empty());
    owner.SetDesigning(true);
    EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
    owner.BeginLoading();
    EXPECT_TRUE(owner.ComponentState().Contains(csLoading));
    EXPECT_TRUE(owner.ComponentState().Contains(csReading));
    owner.EndReading();
    EXPECT_FALSE(owner.ComponentState().Contains(csReading));
    owner.Loaded();
    EXPECT_FALSE(owner.ComponentState().Contains(csLoading));
}

// What the designer relies on: a component made on a form being designed sees csDesigning
// from its own constructor on.
TEST(ComponentState, AComponentMadeOnADesignedOwnerIsDesignedFromItsConstructor)
{
    struct TWatcher : TComponent {
        bool DesignedInConstructor;
        explicit TWatcher(TComponent* AOwner)
            : TComponent(AOwner), DesignedInConstructor(ComponentState().Contains(csDesigning))
        {}
    };
    TComponent owner(nullptr);
    owner.SetDesigning(true);
    auto* watcher = new TWatcher(&owner);
    EXPECT_TRUE(watcher->DesignedInConstructor);
    TComponent plain(nullptr);
    plain.InsertComponent(new TComponent(nullptr));
    EXPECT_FALSE(plain.Components(0)->ComponentState().Contains(csDesigning));
}

TEST(ComponentNotification, InsertAndRemoveReachTheOwnedComponents)
{
    TComponent owner(nullptr);
    auto* watcher = new TWatcher(&owner);
    auto* added = new TComponent(&owner);
    delete added;
    // The watcher's own insertion happened while it was still being constructed, so it
    // reached the base class only.
    ASSERT_EQ(watcher->Received.size(), 2u);
    EXPECT_EQ(watcher->Received[0], std::make_pair(added, opInsert));
    EXPECT_EQ(watcher->Received[1], std::make_pair(added, opRemove));
}

TEST(ComponentNotification, FreeNotificationCrossesOwners)
{
    TComponent form_a(nullptr), form_b(nullptr);
    auto* watcher = new TWatcher(&form_a);
    auto* target = new TComponent(&form_b);
    watcher->FreeNotification(target);
    watcher->Received.clear();
    delete target;
    ASSERT_EQ(watcher->Received.size(), 1u);
    EXPECT_EQ(watcher->Received[0].second, opRemove);
    // The link is gone on both sides: freeing the watcher now must not touch the target.
    delete watcher;
}

TEST(ComponentNotification, DestructionSurvivesHandlersThatFreeSiblings)
{
    int destroyed = 0;
    auto* owner = new TComponent(nullptr);
    auto* doomed = new TWatcher(owner, &destroyed);
    auto* watcher = new TWatcher(owner, &destroyed);
    auto* removed = new TWatcher(owner, &destroyed);
    new TWatcher(owner, &destroyed);
    watcher->FreeOnRemoval = doomed;
    delete removed;
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(owner->ComponentCount(), 2);
    delete owner;
    EXPECT_EQ(destroyed, 4);
}

TEST(PersistentAssign, DefaultAssignRaisesAConversionError)
{
    TComponent a(nullptr), b(nullptr);
    try {
        a.Assign(&b);
        FAIL() << "Assign did not raise";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"Cannot assign a TComponent to a TComponent");
        EXPECT_STREQ(e.what(), "Cannot assign a TComponent to a TComponent");
    }
    EXPECT_THROW(a.Assign(nullptr), EConvertError);
}

TEST(ClassInformation, NamesAndAncestry)
{
    TComponent a(nullptr);
    EXPECT_EQ(a.ClassName(), L"TComponent");
    EXPECT_TRUE(a.InheritsFrom(TPersistent::ClassInfo()));
    EXPECT_FALSE(TPersistent::ClassInfo().InheritsFrom(TComponent::ClassInfo()));
    EXPECT_NE(TComponent::ClassInfo().CreateComponent, nullptr);
    EXPECT_NE(TComponent::ClassInfo().FindProperty(L"name"), nullptr);
}
