// A caller's variable handed to a request as an optional parameter: the
// request reads it and, where it says so, writes it.
#pragma once
#include <functional>
#include <optional>

template <typename T>
using VariableRef = std::optional<std::reference_wrapper<T>>;
