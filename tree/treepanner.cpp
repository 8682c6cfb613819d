#include "tree/treepanner.h"

#include <QCursor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

#include <cstdlib>

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

TTreePanner::TTreePanner(TTreePanHost& Host) : FHost(Host) {}
TTreePanner::~TTreePanner() = default;

TPanState TTreePanner::State() const {
  const TLazyTreeStates s = FHost.Store().TreeStates();
  const bool panning = s.Has(tsWheelPanning), scrolling = s.Has(tsWheelScrolling);
  if (panning) return scrolling ? TPanState::Pressed : TPanState::Dragging;
  return scrolling ? TPanState::HandsFree : TPanState::Idle;
}

void TTreePanner::Begin(plat::TPoint Position) {
  FHost.StopScrollTimer();
  FHost.SetOrigin(Position);
  FHost.Store().DoStateChange({tsWheelPanning, tsWheelScrolling});
  const QImage image = PanningImage(FHost.RoomX(), FHost.RoomY());
  auto window = std::make_unique<TPanningWindow>(image);
  window->setMask(PanningImageRegion(image).QtRegion());
  const plat::TPoint screen = FHost.ClientToScreen(Position);
  window->move(screen.X - 16, screen.Y - 16);
  window->show();
  FWindow = std::move(window);
  FCursorName.clear();
  FHost.ChooseCursorAt(Position);
  FHost.BeginCapture();
  FHost.StartScrollTimer(20);
}

void TTreePanner::Stop() {
  if (State() == TPanState::Idle) return;
  FHost.StopScrollTimer();
  FHost.Store().DoStateChange({}, {tsWheelPanning, tsWheelScrolling});
  FHost.EndCapture();
  FWindow.reset();
  FCursorName.clear();
  FHost.RestoreCursor();
}

void TTreePanner::Moved(int Dx, int Dy, int Threshold) {
  // Dragged with the button held: panning ends at its release.
  if (State() == TPanState::Pressed && (Dx >= Threshold || Dy >= Threshold))
    FHost.Store().DoStateChange({}, {tsWheelScrolling});
}

bool TTreePanner::Released() {
  switch (State()) {
    case TPanState::Pressed:
      // Released before it was dragged: scrolling goes on hands-free until the next click.
      FHost.Store().DoStateChange({}, {tsWheelPanning});
      return true;
    case TPanState::Dragging: Stop(); return true;
    default: return false;
  }
}

void TTreePanner::ChooseCursor(int X, int Y) {
  const plat::TPoint origin = FHost.Origin();
  const int dx = X - origin.X, dy = Y - origin.Y;
  const bool horizontal = FHost.RoomX();
  const bool vertical = FHost.RoomY();
  QString name;
  if (std::abs(dx) > 7 || std::abs(dy) > 7) {
    if (horizontal && vertical) {
      if (dx < -8) name = dy < -8 ? "LT_MOVENW" : dy < 9 ? "LT_MOVEW" : "LT_MOVESW";
      else if (dx < 9) name = Y < origin.Y ? "LT_MOVEN" : "LT_MOVES";
      else name = dy < -8 ? "LT_MOVENE" : dy < 9 ? "LT_MOVEE" : "LT_MOVESE";
    } else if (horizontal) {
      name = X < origin.X ? "LT_MOVEW" : "LT_MOVEE";
    } else {
      name = Y < origin.Y ? "LT_MOVEN" : "LT_MOVES";
    }
  } else {
    name = !horizontal ? "LT_MOVENS" : vertical ? "LT_MOVEALL" : "LT_MOVEEW";
  }
  if (name == FCursorName) return;
  FCursorName = name;
  FHost.ShowPanCursor(PanningShape(name));
}

}  // namespace lazytree
