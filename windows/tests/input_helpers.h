#pragma once
// Typing and clicking into the windows' controls as a user does, through Qt's test input.

#include <QLineEdit>
#include <QPoint>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/forms/controls.h"
#include "platform/forms/stdctrls.h"

// Typing replaces what an edit holds (an empty text empties it).
inline void Type(plat::TEdit* e, const QString& text) {
  QLineEdit* l = qobject_cast<QLineEdit*>(e->Widget());
  if (!l) l = e->Widget()->findChild<QLineEdit*>();
  ASSERT_NE(l, nullptr);
  l->selectAll();
  l->del();
  QTest::keyClicks(l, text);
}

// A left click near the left end of a control, halfway down.
inline void Click(plat::TControl* c, int x = 8) {
  QTest::mouseClick(c->Widget(), Qt::LeftButton, {}, QPoint(x, c->Height() / 2));
}
