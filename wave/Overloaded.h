#pragma once

namespace wave {

// A visitor made of lambdas, one per alternative of a variant.
template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace wave
