#include "platform/forms/actions.h"

#include <algorithm>

#include "platform/forms/controls.h"

namespace plat {

// ---------------------------------------------------------------- TBasicAction

TBasicAction::~TBasicAction() {
  for (TActionLink* l : FLinks) l->FAction = nullptr;
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

void TBasicAction::RegisterChanges(TActionLink* Link) {
  if (std::find(FLinks.begin(), FLinks.end(), Link) == FLinks.end()) FLinks.push_back(Link);
}

void TBasicAction::UnRegisterChanges(TActionLink* Link) { std::erase(FLinks, Link); }

// ---------------------------------------------------------------- TCustomAction
// Each setter tells the links before it stores, so that a link still compares its client with the old value.

void TCustomAction::SetCaption(const QString& Value) {
  if (Value == FCaption) return;
  ForEachLink([&](TActionLink& l) {
    if (l.IsCaptionLinked()) l.SetCaption(Value);
  });
  FCaption = Value;
}

void TCustomAction::SetChecked(bool Value) {
  if (Value == FChecked) return;
  ForEachLink([&](TActionLink& l) {
    if (l.IsCheckedLinked()) l.SetChecked(Value);
  });
  FChecked = Value;
}

void TCustomAction::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  ForEachLink([&](TActionLink& l) {
    if (l.IsEnabledLinked()) l.SetEnabled(Value);
  });
  FEnabled = Value;
}

void TCustomAction::SetGroupIndex(int Value) {
  if (Value == FGroupIndex) return;
  ForEachLink([&](TActionLink& l) {
    if (l.IsGroupIndexLinked()) l.SetGroupIndex(Value);
  });
  FGroupIndex = Value;
}

void TCustomAction::SetHint(const QString& Value) {
  if (Value == FHint) return;
  ForEachLink([&](TActionLink& l) {
    if (l.IsHintLinked()) l.SetHint(Value);
  });
  FHint = Value;
}

void TCustomAction::SetVisible(bool Value) {
  if (Value == FVisible) return;
  ForEachLink([&](TActionLink& l) {
    if (l.IsVisibleLinked()) l.SetVisible(Value);
  });
  FVisible = Value;
}

// ---------------------------------------------------------------- TActionLink

TActionLink::~TActionLink() { SetAction(nullptr); }

void TActionLink::SetAction(TBasicAction* Value) {
  if (Value == FAction) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (FAction) FAction->RegisterChanges(this);
}

bool TActionLink::Execute() { return FAction && FAction->Execute(); }

// ---------------------------------------------------------------- TControlActionLink

bool TControlActionLink::IsCaptionLinked() const {
  return TActionLink::IsCaptionLinked() && FClient->Caption() == CustomAction()->Caption();
}

bool TControlActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
}

bool TControlActionLink::IsHintLinked() const {
  return TActionLink::IsHintLinked() && FClient->Hint() == CustomAction()->Hint();
}

bool TControlActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
}

void TControlActionLink::SetCaption(const QString& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}

void TControlActionLink::SetHint(const QString& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}

void TControlActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}

}  // namespace plat
