#pragma once
// The preview of a grid's print in a window: Qt's print preview widget showing the pages exactly as the grid
// prints them (the widget's own printer receives the same print).

#include "platform/graphics/types.h"

class QPrintPreviewWidget;
class QWidget;

namespace grid {

class TGridPrinter;

// A preview of Cells (first and last column and row, inclusive; an empty rectangle: all cells). The printer must
// outlive the widget.
QPrintPreviewWidget* CreatePrintPreview(TGridPrinter& Printer, QWidget* Parent,
                                        const plat::TRect& Cells = plat::TRect(0, 0, -1, -1));

}  // namespace grid
