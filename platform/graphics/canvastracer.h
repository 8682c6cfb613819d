// An observer a canvas reports each drawing call to, so tests can see what was drawn (which primitive,
// where, with which font, colours and text) without looking at glyph pixels.
#pragma once

#include <vector>

#include <QString>

#include "platform/graphics/color.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/types.h"

namespace plat {

enum class TraceKind {
  Line,          // LineTo: Points = {from, to}
  Polyline,
  Polygon,
  Rectangle,
  FillRect,
  FrameRect,
  RoundRect,
  Ellipse,
  Arc,
  Pie,
  Chord,
  Pixel,
  FloodFill,
  FocusRect,
  TextOut,       // Rect = the text box, Points = {origin}
  TextRect,      // Rect = the clip rectangle, Points = {origin}
  DrawText,      // Rect = the layout rectangle; one record per call (Text = the whole text)
  DrawTextLine,  // one per line DrawText draws: Rect = the line box, Points = {origin}, Text = the line as
                 // drawn, Flags = 1 + index of the underlined character (0: none)
  Draw,          // graphic drawn at Rect's top-left at its own size (Text = its class name); an image list
                 // image has Text "ImageList" and Flags = index, with the top bit set when drawn disabled
  StretchDraw,
  CopyRect,
  Edge,          // DrawEdge: Flags = edge | (flags << 16)
  FrameControl,  // DrawFrameControl: Flags = type | (state << 16)
  ThemePart,     // DrawThemeBackground: Flags = part | (state << 16), Text = theme class
};

struct TCanvasTraceRecord {
  TraceKind Kind = TraceKind::Line;
  TRect Rect;                   // in the caller's (logical) coordinates
  std::vector<TPoint> Points;
  QString Text;
  unsigned Flags = 0;
  QString FontName;
  int FontSize = 0;
  TFontStyles FontStyle;
  TColor FontColor = clNone;    // the colour text is drawn in
  TColor PenColor = clNone;     // clNone when the pen is clear
  int PenWidth = 0;
  TColor BrushColor = clNone;   // clNone when the brush is clear
  int Orientation = 0;
};

class ICanvasTracer {
 public:
  virtual ~ICanvasTracer() = default;
  virtual void Trace(const TCanvasTraceRecord& record) = 0;
};

// Keeps every record; the test reads them back.
class TRecordingTracer : public ICanvasTracer {
 public:
  void Trace(const TCanvasTraceRecord& record) override { Records.push_back(record); }
  void Clear() { Records.clear(); }
  int Count(TraceKind kind) const;
  std::vector<TCanvasTraceRecord> OfKind(TraceKind kind) const;
  // Texts of the TextOut, TextRect and DrawText records, in drawing order.
  std::vector<QString> Texts() const;
  std::vector<TCanvasTraceRecord> Records;
};

}  // namespace plat
