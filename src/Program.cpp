// Placeholder entry until the shell lands: starts the application and shows an empty main form.
#include "plat/Forms.h"

int main()
{
    using namespace plat;
    Application->Initialize();
    Application->SetTitle(u"Configurator");
    TForm* MainForm = nullptr;
    Application->CreateForm(MainForm);
    MainForm->SetCaption(u"Configurator");
    MainForm->SetPosition(poScreenCenter);
    MainForm->SetClientWidth(694);
    MainForm->SetClientHeight(440);
    Application->Run();
    return 0;
}
