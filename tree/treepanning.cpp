// Wheel panning: a middle-button press shows a small window at the click point and scrolls towards the pointer
// (timer 4, every 20 ms) while the button is held and dragged, or hands-free after an early release until the
// next click; the cursor shows the direction.
#include <QCursor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

#include <cstdlib>
#include <limits>

#include "platform/graphics/region.h"
#include "tree/treecontrol.h"
#include "tree/treeimages.h"

namespace lazytree {

namespace {

constexpr QRgb kFuchsia = 0xFFFF00FF;

// The panning window's picture: a round plate with arrows in the directions that can scroll, on fuchsia (the
// colour left out of the window's shape).
QImage PanningImage(bool Horizontal, bool Vertical) {
  QImage image(32, 32, QImage::Format_RGB32);
  image.fill(kFuchsia);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(64, 64, 64));
  p.setBrush(QColor(240, 240, 240));
  p.drawEllipse(1, 1, 29, 29);
  p.setBrush(QColor(32, 32, 32));
  p.setPen(Qt::NoPen);
  p.drawRect(14, 14, 4, 4);
  auto arrow = [&](QPointF a, QPointF b, QPointF c) {
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    p.drawPath(path);
  };
  if (Vertical) {
    arrow({16, 4}, {11, 10}, {21, 10});
    arrow({16, 28}, {11, 22}, {21, 22});
  }
  if (Horizontal) {
    arrow({4, 16}, {10, 11}, {10, 21});
    arrow({28, 16}, {22, 11}, {22, 21});
  }
  return image;
}

class TPanningWindow : public QWidget {
 public:
  explicit TPanningWindow(QImage Image)
      : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint), FImage(std::move(Image)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(FImage.size());
  }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, FImage); }

 private:
  QImage FImage;
};

Qt::CursorShape PanningShape(const QString& Name) {
  if (Name == QLatin1String("LT_MOVEALL")) return Qt::SizeAllCursor;
  if (Name == QLatin1String("LT_MOVEEW") || Name == QLatin1String("LT_MOVEE") || Name == QLatin1String("LT_MOVEW"))
    return Qt::SizeHorCursor;
  if (Name == QLatin1String("LT_MOVENE") || Name == QLatin1String("LT_MOVESW")) return Qt::SizeBDiagCursor;
  if (Name == QLatin1String("LT_MOVENW") || Name == QLatin1String("LT_MOVESE")) return Qt::SizeFDiagCursor;
  return Qt::SizeVerCursor;  // LT_MOVENS, LT_MOVEN, LT_MOVES
}

}  // namespace

void TBaseLazyTreeControl::BeginWheelPanning(const plat::TPoint& Position) {
  StopTimer(ScrollTimer);
  FLastClickPos = Position;
  DoStateChange({tsWheelPanning, tsWheelScrolling});
  const bool horizontal = static_cast<int64_t>(RangeX()) > ClientW();
  const bool vertical = static_cast<int64_t>(RangeY()) > ClientH();
  const QImage image = PanningImage(horizontal, vertical);
  auto window = std::make_unique<TPanningWindow>(image);
  window->setMask(PanningImageRegion(image).QtRegion());
  const plat::TPoint screen = ClientToScreen(Position);
  window->move(screen.X - 16, screen.Y - 16);
  window->show();
  FPanningWindow = std::move(window);
  FPanningCursorName.clear();
  ChoosePanningCursor(Position.X, Position.Y);
  SetFocus();
  SetMouseCapture(true);
  StartTimer(ScrollTimer, 20);
}

void TBaseLazyTreeControl::StopWheelPanning() {
  if (!TreeStates().Has(tsWheelPanning) && !TreeStates().Has(tsWheelScrolling)) return;
  StopTimer(ScrollTimer);
  DoStateChange({}, {tsWheelPanning, tsWheelScrolling});
  if (MouseCapture()) SetMouseCapture(false);
  FPanningWindow.reset();
  FPanningCursorName.clear();
  FShownCursor = std::numeric_limits<plat::TCursor>::min();  // forces the control's own cursor back
  ShowCursor(Cursor());
}

void TBaseLazyTreeControl::ChoosePanningCursor(int X, int Y) {
  const int dx = X - FLastClickPos.X, dy = Y - FLastClickPos.Y;
  const bool horizontal = static_cast<int64_t>(RangeX()) > ClientW();
  const bool vertical = static_cast<int64_t>(RangeY()) > ClientH();
  QString name;
  if (std::abs(dx) > 7 || std::abs(dy) > 7) {
    if (horizontal && vertical) {
      if (dx < -8) name = dy < -8 ? "LT_MOVENW" : dy < 9 ? "LT_MOVEW" : "LT_MOVESW";
      else if (dx < 9) name = Y < FLastClickPos.Y ? "LT_MOVEN" : "LT_MOVES";
      else name = dy < -8 ? "LT_MOVENE" : dy < 9 ? "LT_MOVEE" : "LT_MOVESE";
    } else if (horizontal) {
      name = X < FLastClickPos.X ? "LT_MOVEW" : "LT_MOVEE";
    } else {
      name = Y < FLastClickPos.Y ? "LT_MOVEN" : "LT_MOVES";
    }
  } else {
    name = !horizontal ? "LT_MOVENS" : vertical ? "LT_MOVEALL" : "LT_MOVEEW";
  }
  if (name == FPanningCursorName) return;
  FPanningCursorName = name;
  if (QWidget* w = Widget()) w->setCursor(QCursor(PanningShape(name)));
}

}  // namespace lazytree
