#pragma once
// A string tree on a shown, active form, driven by Qt key events through the real control, with its window
// timers on a fake clock: a test advances the clock and the timers that fall due fire in order.

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/forms/keys.h"
#include "platform/forms/messages.h"
#include "tree/stringtree.h"

namespace lazytree::testing {

class TClockTree : public TLazyStringTree {
 public:
  using TLazyStringTree::TLazyStringTree;
  using TLazyStringTree::InvalidateNode;

  // Fires every timer due up to now + Ms, in time order.
  void Advance(uint32_t Ms) {
    const uint64_t until = FNow + Ms;
    for (;;) {
      auto next = FDue.end();
      for (auto it = FDue.begin(); it != FDue.end(); ++it)
        if (it->second <= until && (next == FDue.end() || it->second < next->second)) next = it;
      if (next == FDue.end()) break;
      FNow = next->second;
      const int id = next->first;
      FDue.erase(next);  // a window timer repeats; the tree restarts the ones it still wants
      Perform(plat::WM_TIMER, static_cast<plat::WPARAM>(id), 0);
    }
    FNow = until;
  }
  bool TimerRunning(int Id) const { return FDue.count(Id) != 0; }
  // How long after now a timer falls due (-1 when it does not run).
  int64_t TimerDueIn(int Id) const {
    auto it = FDue.find(Id);
    return it == FDue.end() ? -1 : static_cast<int64_t>(it->second - FNow);
  }
  std::vector<int> Helps;
  // What a click on the focused cell does to start an edit after Delay.
  void ArmEdit(uint32_t Delay) {
    DoStateChange({tsEditPending});
    MouseArmsEdit(FocusedColumn(), Delay);
  }

 protected:
  void StartTimer(int TimerId, uint32_t Milliseconds) override { FDue[TimerId] = FNow + Milliseconds; }
  void StopTimer(int TimerId) override { FDue.erase(TimerId); }
  void ShowHelp(int HelpContext) override { Helps.push_back(HelpContext); }

 private:
  uint64_t FNow = 0;
  std::map<int, uint64_t> FDue;
};

// The tree's nodes carry their texts in a map; nodes are found by text.
struct KeyFixture {
  plat::TForm form{nullptr};
  TClockTree* tree;
  std::map<PLazyNode, QString> texts;
  std::vector<std::string> log;

  KeyFixture() {
    plat::ResetKeyStates();
    form.SetBounds(100, 100, 400, 300);
    tree = new TClockTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 300, 200);
    tree->OnGetText = [this](TBaseLazyTree*, PLazyNode n, TColumnIndex, TLSTTextType, QString& text) {
      auto it = texts.find(n);
      if (it != texts.end()) text = it->second;
    };
    tree->OnNewText = [this](TBaseLazyTree*, PLazyNode n, TColumnIndex, const QString& text) {
      texts[n] = text;
      log.push_back("new text " + text.toStdString());
    };
  }
  ~KeyFixture() { plat::ResetKeyStates(); }

  PLazyNode Add(PLazyNode parent, const QString& text) {
    PLazyNode n = tree->AddChild(parent);
    texts[n] = text;
    tree->InvalidateNode(n);  // the width measured while the node was added belongs to no text yet
    return n;
  }
  PLazyNode N(const QString& text) const {
    for (const auto& [n, t] : texts)
      if (t == text) return n;
    ADD_FAILURE() << "no node " << text.toStdString();
    return nullptr;
  }
  QString Name(PLazyNode n) const {
    if (!n) return QStringLiteral("-");
    auto it = texts.find(n);
    return it == texts.end() ? QStringLiteral("?") : it->second;
  }
  // The selected nodes in tree order, joined by commas.
  QString Selection() {
    QStringList names;
    for (PLazyNode n = tree->GetFirst(); n; n = tree->GetNext(n))
      if (tree->Selected(n)) names << Name(n);
    return names.join(u',');
  }
  void Show() {
    form.Show();
    QApplication::setActiveWindow(form.Widget());
    tree->SetFocus();
    QApplication::processEvents();
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}, const QString& text = {}) {
    if (text.isEmpty())
      QTest::keyClick(tree->Widget(), key, mods);
    else
      QTest::sendKeyEvent(QTest::Click, tree->Widget(), key, text, mods);
  }
  void Type(const QString& text) {
    for (QChar c : text) {
      const int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();
      QTest::sendKeyEvent(QTest::Click, tree->Widget(), static_cast<Qt::Key>(key), QString(c), {});
    }
  }
};

}  // namespace lazytree::testing
