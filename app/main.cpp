#include "app/main_window.h"
#include "catalogue/catalogue.h"

int main()
{
    Application->Initialize();
    Application->SetTitle(AppTitle);
    Application->CreateForm(Form1);
    Application->Run();
    return 0;
}
