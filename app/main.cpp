// Corvane: starts the one window and runs its message loop. One optional
// argument names a text file to read ("Open With" in a file manager).
#include "app/TForm1.h"
#include "app/Application.h"

int main(int argc, char **argv)
{
    corvane::Application app(argc, argv);
    TForm1 form;
    app.onSessionEnd([&form] { form.closeForSessionEnd(); });
    if (const QStringList args = app.arguments(); args.size() > 1)
        form.setStartupFile(args.at(1));
    form.show();
    return app.exec();
}
