#include "platform/rtl/component.h"

#include <algorithm>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/strutils.h"

namespace plat {

namespace {

bool IsValidIdent(const QString& S) {
  if (S.isEmpty()) return false;
  for (qsizetype i = 0; i < S.size(); ++i) {
    const char16_t c = S[i].unicode();
    const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
    const bool digit = c >= u'0' && c <= u'9';
    if (!(letter || (i > 0 && digit))) return false;
  }
  return true;
}

void Erase(std::vector<TComponent*>& V, TComponent* C) {
  const auto it = std::find(V.begin(), V.end(), C);
  if (it != V.end()) V.erase(it);
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell every linked component, newest link first; each answer may change the list.
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    Erase(other->FFreeNotifies, this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
  return FComponents[Index];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  const auto& v = FOwner->FComponents;
  return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

TComponent* TComponent::FindComponent(const QString& AName) const {
  if (AName.isEmpty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::ValidateRename(const TComponent* AComponent, const QString& NewName) const {
  if (NewName.isEmpty()) return;
  for (const TComponent* c : FComponents)
    if (c != AComponent && SameText(c->FName, NewName))
      throw EComponentError(QStringLiteral("A component named %1 already exists").arg(NewName));
}

void TComponent::SetName(const QString& NewName) {
  if (FName == NewName) return;
  if (!NewName.isEmpty() && !IsValidIdent(NewName))
    throw EComponentError(QStringLiteral("'%1' is not a valid component name").arg(NewName));
  if (FOwner) FOwner->ValidateRename(this, NewName);
  FName = NewName;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner == this) return;
  ValidateRename(AComponent, AComponent->FName);
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Erase(FComponents, AComponent);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    FComponents.pop_back();
    c->FOwner = nullptr;
    delete c;
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* c : FComponents) c->SetDesigning(Value, true);
}

void TComponent::BeginLoading() {
  FComponentState.Include(csLoading);
  FComponentState.Include(csReading);
}

void TComponent::EndLoading() {
  FComponentState.Exclude(csReading);
  Loaded();
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FreeNotification(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  Erase(FFreeNotifies, AComponent);
  Erase(AComponent->FFreeNotifies, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // Newest first; a handler may remove components, so re-check the bound each step.
  for (size_t i = FComponents.size(); i-- > 0;) {
    if (i >= FComponents.size()) {
      if (FComponents.empty()) break;
      i = FComponents.size() - 1;
    }
    FComponents[i]->Notification(AComponent, Operation);
  }
}

}  // namespace plat
