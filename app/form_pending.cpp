// Steps of the life cycle whose subsystems are still to come.
#include "app/TForm1.h"

void TForm1::PNoise1() {}
void TForm1::PNameon() {}
void TForm1::PNameoff() {}
void TForm1::FCorvanes() {}
void TForm1::loadText() {}
