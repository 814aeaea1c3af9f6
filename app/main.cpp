#include "app/main_window.h"

int main()
{
    Application->Initialize();
    Application->SetTitle(kProgramTitle);
    Application->CreateForm(Form1);
    Application->Run();
    return 0;
}
