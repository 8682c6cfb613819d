#pragma once
// How a tree's picture is cut into printer pages: the scale between screen and printer, the part of the picture
// one page covers, and the number of pages across and down.

namespace lazytree {

struct TPrintLayout {
  double Ratio = 1;  // printer pixels per picture pixel
  int PageW = 1;     // picture pixels per page, across and down
  int PageH = 1;
  int Columns = 1;   // pages across and down
  int Rows = 1;
};

// A picture of PictureW x PictureH pixels on pages of DeviceW x DeviceH printer pixels, Ratio printer pixels per
// picture pixel. A picture that fills a page exactly takes that page only; an empty picture still takes one.
TPrintLayout ComputePrintLayout(int PictureW, int PictureH, int DeviceW, int DeviceH, double Ratio);

}  // namespace lazytree
