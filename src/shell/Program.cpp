// The configurator: the main window and the windows it reaches, until the main window
// closes. No command-line argument is read.
#include "ProgramWindows.h"
#include "plat/Forms.h"

int main()
{
    plat::Application->Initialize();
    Create_Program_Windows();
    plat::Application->Run();
    return 0;
}
