// The classic 3-D look, drawn by hand from the system colours so that it is the same on every machine:
// sunken and raised edges and the frame controls (push button, check box, radio button, scroll arrows,
// caption buttons).
#pragma once

#include "platform/graphics/canvas.h"
#include "platform/graphics/types.h"

namespace plat {

// Edges.
enum : unsigned {
  BDR_RAISEDOUTER = 0x1,
  BDR_SUNKENOUTER = 0x2,
  BDR_RAISEDINNER = 0x4,
  BDR_SUNKENINNER = 0x8,
  BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER,
  BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER,
  BDR_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
  BDR_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
  EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
  EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
  EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
  EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
};
// Which sides and how.
enum : unsigned {
  BF_LEFT = 0x1,
  BF_TOP = 0x2,
  BF_RIGHT = 0x4,
  BF_BOTTOM = 0x8,
  BF_TOPLEFT = BF_TOP | BF_LEFT,
  BF_TOPRIGHT = BF_TOP | BF_RIGHT,
  BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT,
  BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
  BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
  BF_DIAGONAL = 0x10,
  BF_MIDDLE = 0x800,
  BF_SOFT = 0x1000,
  BF_ADJUST = 0x2000,
  BF_FLAT = 0x4000,
  BF_MONO = 0x8000,
};

// Draws the edge lines on the chosen sides of r: the outer pair on the outermost pixels, the inner pair one
// pixel in. The top and left lines stop one pixel short of the right and bottom ones, which own the corners.
// Colours: raised outer cl3DLight/cl3DDkShadow, raised inner clBtnHighlight/clBtnShadow, sunken outer
// clBtnShadow/clBtnHighlight, sunken inner cl3DDkShadow/cl3DLight (BF_SOFT swaps the outer and inner
// top-left colours of a raised edge); BF_FLAT draws clBtnShadow outside and clBtnFace inside, BF_MONO
// clWindowFrame outside and clWindow inside. BF_MIDDLE fills the rest with clBtnFace (clWindow for flat and
// mono); BF_ADJUST shrinks r by the lines drawn. Diagonal edges are not drawn.
bool DrawEdge(HDC dc, TRect& r, unsigned edge, unsigned flags);

enum : unsigned { DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4, DFC_POPUPMENU = 5 };
enum : unsigned {
  DFCS_BUTTONCHECK = 0x0,
  DFCS_BUTTONRADIOIMAGE = 0x1,
  DFCS_BUTTONRADIOMASK = 0x2,
  DFCS_BUTTONRADIO = 0x4,
  DFCS_BUTTON3STATE = 0x8,
  DFCS_BUTTONPUSH = 0x10,
  DFCS_SCROLLUP = 0x0,
  DFCS_SCROLLDOWN = 0x1,
  DFCS_SCROLLLEFT = 0x2,
  DFCS_SCROLLRIGHT = 0x3,
  DFCS_SCROLLCOMBOBOX = 0x5,
  DFCS_SCROLLSIZEGRIP = 0x8,
  DFCS_CAPTIONCLOSE = 0x0,
  DFCS_CAPTIONMIN = 0x1,
  DFCS_CAPTIONMAX = 0x2,
  DFCS_CAPTIONRESTORE = 0x3,
  DFCS_CAPTIONHELP = 0x4,
  DFCS_INACTIVE = 0x100,
  DFCS_PUSHED = 0x200,
  DFCS_CHECKED = 0x400,
  DFCS_TRANSPARENT = 0x800,
  DFCS_HOT = 0x1000,
  DFCS_ADJUSTRECT = 0x2000,
  DFCS_FLAT = 0x4000,
  DFCS_MONO = 0x8000,
};

// Draws a frame control into r. Check boxes and radio buttons are squares of min(width, height) centred in
// r: a sunken box (flat: a clBtnShadow frame) on clWindow (pushed or inactive: clBtnFace) with a check mark
// or dot in clWindowText (inactive: clGrayText; a checked three-state box: clBtnShadow). Push buttons are
// raised, or sunken when pushed. Scroll buttons are push buttons with an arrow (the combo box button points
// down). Returns false for a kind it does not know.
bool DrawFrameControl(HDC dc, const TRect& r, unsigned type, unsigned state);

// Draws a filled arrow triangle pointing in direction (0 up, 1 down, 2 left, 3 right) centred in r.
void DrawArrowGlyph(TCanvas& canvas, const TRect& r, int direction, TColor colour);

}  // namespace plat
