// The "Update Device" step: compiling the open configuration into its bank images and opening the serial or
// Ethernet update window. It is built with the update windows; until then the step does nothing.
#include "windows/main_window.h"

void TFTessaroneFirmWare::Update_Device() {}
