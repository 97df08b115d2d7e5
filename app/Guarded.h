// Every handler the window connects runs through guarded(): an exception must
// not cross Qt's event loop (Qt's own code is not exception safe, and a throw
// through a slot is undefined behaviour). The error is shown in a message box
// and the program goes on, as the window's default error handler promises.
#pragma once

#include <exception>
#include <type_traits>
#include <utility>

#include <QString>

namespace corvane {

void showError(const QString &text); // app/Application.h

// Shows what escaped a handler; no exception leaves this function.
void reportEscapedError(std::exception_ptr error) noexcept;

// Wraps a handler (any callable) so that what it throws is reported, not
// propagated. A handler that takes the signal's arguments gets them; one that
// takes none is called without them, as a plain slot would be (clicked(bool),
// triggered(bool) and QTimer's private tag are dropped).
template<class Handler>
auto guarded(Handler handler)
{
    return [handler = std::move(handler)](auto &&...args) noexcept {
        try {
            if constexpr (std::is_invocable_v<Handler &, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        } catch (...) {
            reportEscapedError(std::current_exception());
        }
    };
}

} // namespace corvane
