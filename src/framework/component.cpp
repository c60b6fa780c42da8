// TComponent: ownership, names, state and notifications.
#include "zintara/framework/component.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"
#include "zintara/framework/text.h"

#include <algorithm>

namespace zn {

namespace {

bool IsIdentStart(wchar_t C)
{
    return (C >= L'A' && C <= L'Z') || (C >= L'a' && C <= L'z') || C == L'_';
}
bool IsIdentChar(wchar_t C)
{
    return IsIdentStart(C) || (C >= L'0' && C <= L'9');
}

void Erase(std::vector<TComponent*>& List, TComponent* Item)
{
    auto found = std::find(List.begin(), List.end(), Item);
    if (found != List.end())
        List.erase(found);
}

} // namespace

bool IsValidIdent(const std::wstring& Ident)
{
    if (Ident.empty() || !IsIdentStart(Ident[0]))
        return false;
    return std::all_of(Ident.begin(), Ident.end(), IsIdentChar);
}

const TClassInfo& TComponent::ClassInfo()
{
    using P = TPublished<TComponent>;
    static const TPropertyInfo properties[] = {
        P::WideString<&TComponent::Name, &TComponent::SetName,
                      [](const TComponent&) { return false; }>(L"Name"),
    };
    static const TClassInfo info = DeclareClass<TComponent, TPersistent>(L"TComponent", properties);
    return info;
}

const TClassInfo& TComponent::ClassType() const
{
    return ClassInfo();
}

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Each side of a free notification tells the other that it is going.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        Erase(other->FFreeNotifies, this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const
{
    if (Index < 0 || Index >= ComponentCount())
        throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
    return FComponents[static_cast<size_t>(Index)];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner)
        return -1;
    auto& siblings = FOwner->FComponents;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

TComponent* TComponent::FindComponent(const std::wstring& AName) const
{
    if (AName.empty())
        return nullptr;
    for (TComponent* component : FComponents)
        if (SameText(component->FName, AName))
            return component;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (AComponent->FOwner == this)
        return;
    if (FindComponent(AComponent->FName))
        throw EComponentError(L"A component named " + AComponent->FName + L" already exists");
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (AComponent->FOwner != this)
        return;
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

// A component made or read into a form being designed is designed too, already while its own
// constructor runs: players decide there and in Loaded how they behave in the designer.
void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    if (FComponentState.Contains(csDesigning))
        AComponent->SetDesigning(true);
}

void TComponent::Remove(TComponent* AComponent)
{
    Erase(FComponents, AComponent);
    AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
    // Freeing one component may free others it knows of: take them one by one from the end.
    while (!FComponents.empty()) {
        TComponent* instance = FComponents.back();
        Remove(instance);
        delete instance;
    }
}

void TComponent::ValidateRename(const std::wstring& NewName) const
{
    if (!NewName.empty() && FOwner) {
        TComponent* sibling = FOwner->FindComponent(NewName);
        if (sibling && sibling != this)
            throw EComponentError(L"A component named " + NewName + L" already exists");
    }
}

void TComponent::SetName(const std::wstring& NewName)
{
    if (NewName == FName)
        return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError(L"'" + NewName + L"' is not a valid component name");
    ValidateRename(NewName);
    FName = NewName;
}

void TComponent::SetDesigning(bool Value)
{
    if (Value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    for (TComponent* component : FComponents)
        component->SetDesigning(Value);
}

void TComponent::Destroying()
{
    FComponentState.Include(csDestroying);
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(AComponent);
        AComponent->FFreeNotifies.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent)
        return;
    Erase(FFreeNotifies, AComponent);
    Erase(AComponent->FFreeNotifies, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove)
        RemoveFreeNotification(AComponent);
    // A handler may free or add components: walk backwards and keep the index in range.
    int i = ComponentCount() - 1;
    while (i >= 0) {
        FComponents[static_cast<size_t>(i)]->Notification(AComponent, Operation);
        --i;
        if (i >= ComponentCount())
            i = ComponentCount() - 1;
    }
}

void TComponent::GetChildren(std::vector<TComponent*>& Children, const TComponent* Root) const
{
    if (Root != this)
        return;
    for (TComponent* component : FComponents)
        if (!component->HasParent())
            Children.push_back(component);
}

void TComponent::BeginLoading()
{
    FComponentState.Include(csLoading);
    FComponentState.Include(csReading);
}

void TComponent::EndReading()
{
    FComponentState.Exclude(csReading);
}

void TComponent::AbortLoading()
{
    FComponentState.Exclude(csReading);
    FComponentState.Exclude(csLoading);
}

void TComponent::Loaded()
{
    FComponentState.Exclude(csLoading);
}

} // namespace zn
