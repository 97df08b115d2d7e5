// The deferred start-up load, run and waited for: the text is read in a worker.
#pragma once
#include <QTest>

#include "app/TForm1.h"

inline void loadNow(TForm1 &f)
{
    f.Timer2Timer();
    for (int waited = 0; !f.loaded && waited < 10000; waited += 5)
        QTest::qWait(5);
}
