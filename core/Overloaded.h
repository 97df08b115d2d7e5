// The visitor of a std::variant written as one lambda per alternative:
// std::visit(Overloaded{[](int) {...}, [](const std::string &) {...}}, v).
#pragma once

namespace corvane {

template<class... Lambdas>
struct Overloaded : Lambdas...
{
    using Lambdas::operator()...;
};
template<class... Lambdas>
Overloaded(Lambdas...) -> Overloaded<Lambdas...>;

} // namespace corvane
