// A window that is cut to its outline some other way than by QWidget::setMask
// derives from this; TRgn then hands it the region instead of masking it.
// The main window does, to go through its platform (app/Platform.h).
#pragma once

class QRegion;

namespace corvane {

class MaskedWindow
{
public:
    virtual void applyWindowMask(const QRegion &region) = 0;

protected:
    ~MaskedWindow() = default;
};

} // namespace corvane
