#pragma once
// The program's windows, created once each in their fixed order: the main window first
// (its creation fills Lang_Table and SW_Code, which the others read while they are
// created), then the 39 others. The application owns them and frees them when its loop
// ends, in reverse order.
void Create_Program_Windows();

// Frees the windows in reverse creation order (for hosts that do not run the loop, such as
// tests and benchmarks).
void Free_Program_Windows();
