#pragma once
// Where an item's caption stands beside its picture: shared by the keypad's buttons and the pickers' items.

namespace dropdown {

enum TItemLayout { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };

}  // namespace dropdown
