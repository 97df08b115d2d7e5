// A window on a settings file and a folder of its own, on the fake desktop:
// no title screens (they would hold every test up) and the start-up timer
// stopped, so that a test loads its text when it means to.
#pragma once

#include <QLabel>
#include <QTemporaryDir>

#include <array>
#include <initializer_list>
#include <memory>

#include "app/TForm1.h"
#include "settings/IniProfile.h"
#include "tests/support/FakePlatform.h"

struct TestWindow
{
    using Setting = std::array<const char *, 3>; // section, key, value

    QTemporaryDir dir;
    std::shared_ptr<FakePlatform> platform
            = std::make_shared<FakePlatform>(); // 15:00:00, seed 20240601
    std::unique_ptr<TForm1> form;

    TestWindow() { store({{"Form\\LCheckBox12", "Checked", "0"}}); }
    QString ini() const { return dir.filePath(QStringLiteral("corvane.ini")); }
    void store(std::initializer_list<Setting> settings) const
    {
        corvane::IniProfile file(ini().toStdString());
        for (const Setting &s : settings)
            file.write(s[0], s[1], s[2]);
    }
    // The window on what is stored by now.
    void build()
    {
        form = std::make_unique<TForm1>(ini(), platform);
        form->Timer2->stop();
    }
    TForm1 &f() { return *form; }
    QString status() const { return form->HintLabel1->text(); }
};
