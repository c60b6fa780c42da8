// TComponent: an object with an owner that frees it, a name unique among its siblings, a
// loading state, and notifications when components come and go.
#pragma once

#include "zintara/framework/object.h"
#include "zintara/framework/types.h"

#include <string>
#include <vector>

namespace zn {

enum class TComponentStateElement { csLoading, csReading, csDesigning, csDestroying };
using TComponentState = TSet<TComponentStateElement>;
inline constexpr TComponentStateElement csLoading = TComponentStateElement::csLoading;
inline constexpr TComponentStateElement csReading = TComponentStateElement::csReading;
inline constexpr TComponentStateElement csDesigning = TComponentStateElement::csDesigning;
inline constexpr TComponentStateElement csDestroying = TComponentStateElement::csDestroying;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    // The owner, when given, frees this component with itself.
    explicit TComponent(TComponent* AOwner);
    // Frees the owned components. A class whose owned components use its own members while
    // they are freed calls DestroyComponents() in its destructor.
    ~TComponent() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    // Raises EListError for an index outside 0..ComponentCount-1.
    TComponent* Components(int Index) const;
    int ComponentIndex() const;
    // The owned component of that name (ASCII case-insensitive), null when none.
    TComponent* FindComponent(const std::wstring& AName) const;
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();

    const std::wstring& Name() const { return FName; }
    // Raises EComponentError for a name that is not an identifier or that a sibling has.
    virtual void SetName(const std::wstring& NewName);

    TComponentState ComponentState() const { return FComponentState; }
    void SetDesigning(bool Value);
    // Marks the component as being destroyed; derived destructors call it first.
    void Destroying();

    // Asks AComponent to send this one opRemove when it is destroyed, and the other way round.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Form streaming: the components stored inside this one when Root is written, and the
    // component that holds this one in a form (its parent).
    virtual void GetChildren(std::vector<TComponent*>& Children, const TComponent* Root) const;
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* AParent) {}

    // The reader's steps: BeginLoading sets csLoading and csReading, EndReading clears
    // csReading once the whole form is read, Loaded (which clears csLoading) follows for every
    // component read; AbortLoading clears both when reading failed.
    void BeginLoading();
    void EndReading();
    void AbortLoading();
    virtual void Loaded();

    TPersistent* GetOwner() const override { return FOwner; }

protected:
    // Sent for every component inserted into or removed from the owner; the default passes it
    // on to the owned components. Overrides call the inherited one.
    virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void ValidateRename(const std::wstring& NewName) const;

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::wstring FName;
    TComponentState FComponentState;
};

// True for a valid component name: a letter or underscore, then letters, digits, underscores.
bool IsValidIdent(const std::wstring& Ident);

} // namespace zn
