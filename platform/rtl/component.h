#pragma once
// TComponent: ownership, free notification and component state.
//
// An owner deletes the components it owns, newest first, when it is destroyed; an owned component must
// therefore live on the heap (a component without an owner belongs to a std::unique_ptr or a stack frame).
// FreeNotification links two components both ways: whichever is destroyed first calls the other's
// Notification(self, opRemove), so the other can clear its pointer. Notification also reaches, through the
// owner, every component the owner owns.

#include <QString>

#include <cstdint>
#include <vector>

#include "platform/rtl/object.h"
#include "platform/rtl/sets.h"

namespace plat {

enum class TOperation { opInsert, opRemove };
using enum TOperation;

enum class TComponentStateFlag { csLoading, csReading, csWriting, csDestroying, csDesigning, csFreeNotification };
using enum TComponentStateFlag;
using TComponentState = TSet<TComponentStateFlag, 15>;

class TComponent : public TPersistent {
  PLAT_CLASS(TComponent)

  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // EListError "List index out of bounds (n)".
  TComponent* Components(int Index) const;
  // Position in the owner's list, -1 without an owner.
  int ComponentIndex() const;
  // The owned component of that name, letter case ignored; null when none (or for an empty name).
  TComponent* FindComponent(const QString& AName) const;
  // Takes AComponent over (from its previous owner, if any) / gives it up without deleting it.
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  // Deletes the owned components, newest first.
  void DestroyComponents();

  const QString& Name() const { return FName; }
  // An identifier (letter or "_" first, then letters, digits, "_") or empty, unique among the owner's
  // components: EComponentError "'x' is not a valid component name" / "A component named x already exists".
  virtual void SetName(const QString& NewName);
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t Value) { FTag = Value; }

  TComponentState ComponentState() const { return FComponentState; }
  // Marks this component and those it owns as being destroyed (the destructor does it too; a derived
  // destructor may call it first so that its own clean-up sees the state).
  void Destroying();
  // csDesigning on this component and, when SetChildren, on those it owns.
  void SetDesigning(bool Value, bool SetChildren = true);
  // csLoading and csReading while the component's properties are being set up from stored data; EndLoading
  // clears csReading and calls Loaded, which clears csLoading.
  void BeginLoading();
  void EndLoading();

  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

 protected:
  // opInsert when a component joins the owner, opRemove when one leaves or is destroyed. The default drops
  // the free-notification link to a removed component and passes the call on to the owned components.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void Loaded();

 private:
  void ValidateRename(const TComponent* AComponent, const QString& NewName) const;

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  QString FName;
  intptr_t FTag = 0;
  TComponentState FComponentState;
};

}  // namespace plat
