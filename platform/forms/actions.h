#pragma once
// Actions: a command object (caption, checked state, group, enabled, hint, visibility and an execute event)
// that several controls can share. A control follows an action through an action link: when a property of
// the action changes, the link hands the new value to its control, but only for the properties the control
// still shows as the action had them (the control's own changes stay). A click on the control executes the
// action.

#include <QString>

#include <vector>

#include "platform/rtl/component.h"
#include "platform/rtl/events.h"

namespace plat {

class TActionLink;

class TBasicAction : public TComponent {
  PLAT_CLASS(TBasicAction)

  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
  ~TBasicAction() override;

  // Fires OnExecute; false when there is none.
  virtual bool Execute();
  TNotifyEvent OnExecute;

  void RegisterChanges(TActionLink* Link);
  void UnRegisterChanges(TActionLink* Link);

 protected:
  template <class Fn>
  void ForEachLink(Fn fn) {
    const std::vector<TActionLink*> links = FLinks;  // a link may leave while it is told
    for (TActionLink* l : links) fn(*l);
  }

 private:
  std::vector<TActionLink*> FLinks;
};

class TCustomAction : public TBasicAction {
  PLAT_CLASS(TCustomAction)

  using TBasicAction::TBasicAction;

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  QString Hint() const { return FHint; }
  void SetHint(const QString& Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

 private:
  QString FCaption, FHint;
  bool FChecked = false, FEnabled = true, FVisible = true;
  int FGroupIndex = 0;
};

// Ties one client to one action. The Is...Linked answers decide whether a change of the action reaches the
// client; the Set... operations hand it over (nothing here: the client's link class fills them).
class TActionLink {
 public:
  TActionLink() = default;
  virtual ~TActionLink();
  TActionLink(const TActionLink&) = delete;
  TActionLink& operator=(const TActionLink&) = delete;

  TBasicAction* Action() const { return FAction; }
  // Registers with the new action (nullptr unlinks).
  void SetAction(TBasicAction* Value);
  TCustomAction* CustomAction() const { return dynamic_cast<TCustomAction*>(FAction); }
  // Runs the action; false without one.
  bool Execute();

  virtual bool IsCaptionLinked() const { return CustomAction() != nullptr; }
  virtual bool IsCheckedLinked() const { return CustomAction() != nullptr; }
  virtual bool IsEnabledLinked() const { return CustomAction() != nullptr; }
  virtual bool IsGroupIndexLinked() const { return CustomAction() != nullptr; }
  virtual bool IsHintLinked() const { return CustomAction() != nullptr; }
  virtual bool IsVisibleLinked() const { return CustomAction() != nullptr; }
  virtual void SetCaption(const QString& Value) { (void)Value; }
  virtual void SetChecked(bool Value) { (void)Value; }
  virtual void SetEnabled(bool Value) { (void)Value; }
  virtual void SetGroupIndex(int Value) { (void)Value; }
  virtual void SetHint(const QString& Value) { (void)Value; }
  virtual void SetVisible(bool Value) { (void)Value; }

 private:
  friend class TBasicAction;
  TBasicAction* FAction = nullptr;
};

class TControl;

// The link of a control: caption, enabled state, hint and visibility follow the action while the control
// shows what the action had.
class TControlActionLink : public TActionLink {
 public:
  explicit TControlActionLink(TControl* Client) : FClient(Client) {}
  TControl* Client() const { return FClient; }

  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsVisibleLinked() const override;
  void SetCaption(const QString& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const QString& Value) override;
  void SetVisible(bool Value) override;

 protected:
  TControl* FClient;
};

}  // namespace plat
