#include "platform/forms/trackbar.h"

#include <QSlider>

#include <algorithm>

#include "platform/forms/host.h"

namespace plat {

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner, detail::MakeHost<detail::THost<QSlider>>(this)) {
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
  QSlider* s = Slider();
  s->setOrientation(Qt::Horizontal);
  s->setTickPosition(QSlider::TicksBelow);
  ApplyRange();
  QObject::connect(s, &QSlider::valueChanged, s, [this](int) {
    if (!FSetting) detail::Guarded(this, [this] { Changed(); });
  });
}

TTrackBar::~TTrackBar() = default;

QSlider* TTrackBar::Slider() const { return static_cast<QSlider*>(Widget()); }

void TTrackBar::Changed() {
  if (OnChange) OnChange(this);
}

void TTrackBar::ApplyRange() {
  QSlider* s = Slider();
  if (!s) return;
  FSetting = true;
  s->setRange(FMin, std::max(FMin, FMax));
  s->setPageStep(FPageSize);
  s->setSingleStep(FFrequency);
  s->setTickInterval(FFrequency);
  FSetting = false;
}

void TTrackBar::SetMin(int v) {
  FMin = v;
  if (FMax < FMin) FMax = FMin;
  ApplyRange();
}

void TTrackBar::SetMax(int v) {
  FMax = v;
  if (FMin > FMax) FMin = FMax;
  ApplyRange();
}

int TTrackBar::Position() const { return Slider() ? Slider()->value() : FMin; }

void TTrackBar::SetPosition(int v) {
  if (!Slider()) return;
  const int old = Slider()->value();
  FSetting = true;
  Slider()->setValue(std::clamp(v, FMin, std::max(FMin, FMax)));
  FSetting = false;
  if (Slider()->value() != old) Changed();
}

void TTrackBar::SetPageSize(int v) {
  FPageSize = v;
  ApplyRange();
}

void TTrackBar::SetFrequency(int v) {
  FFrequency = v;
  ApplyRange();
}

void TTrackBar::SetOrientation(TTrackBarOrientation v) {
  FOrientation = v;
  if (Slider()) Slider()->setOrientation(v == trHorizontal ? Qt::Horizontal : Qt::Vertical);
}

}  // namespace plat
