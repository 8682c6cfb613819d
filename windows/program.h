#pragma once
// Program start: the application object and the fourteen windows, created in a fixed order with the main
// window first; they live until the program ends. The program shows its main window before it makes the others.

#include <QString>

// The folder of the program file. Tests give the program another folder before the windows are created.
QString Program_Dir();
void Set_Program_Dir(const QString& Dir);

// Creates the fourteen windows in their order (the main window first, whose creation sets up the shared
// state that every later window relies on). Needs the application object.
void Create_Windows();
// The same in two steps: the main window, then the thirteen others, those not made yet.
void Create_Main_Window();
void Create_Other_Windows();
// Frees the windows again (tests; the program frees them with the application).
void Free_Windows();

// Initialises the application, creates the windows, runs the message loop; returns the exit code.
int Program_Main(int argc, char** argv);
