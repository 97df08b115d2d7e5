// Corvane: starts the one window and runs its message loop.
#include "app/TForm1.h"
#include "app/Application.h"

int main(int argc, char **argv)
{
    corvane::Application app(argc, argv);
    TForm1 form;
    app.onSessionEnd([&form] { form.closeForSessionEnd(); });
    form.show();
    return app.exec();
}
