// The configurator: the main window and the windows it reaches, until the main window
// closes. No command-line argument is read.
#include "ProgramWindows.h"
#include "plat/Forms.h"
#include "plat/MessageForm.h"

int main()
{
    plat::Application->Initialize();
    // Message boxes in the program's own look, like every other window of it.
    plat::UseMessageForms();
    Create_Program_Windows();
    plat::Application->Run();
    return 0;
}
