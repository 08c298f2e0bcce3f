#pragma once
// A value or the error that took its place.

#include <system_error>
#include <utility>
#include <variant>

template <typename T>
class TOrError
{
public:
    TOrError(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    TOrError(std::error_code error) : state_(std::in_place_index<1>, error) {}

    bool HoldsValue() const noexcept { return state_.index() == 0; }
    bool HoldsError() const noexcept { return state_.index() == 1; }

    // Each throws std::bad_variant_access when the other alternative is held.
    T& Value() & { return std::get<0>(state_); }
    const T& Value() const& { return std::get<0>(state_); }
    T&& Value() && { return std::get<0>(std::move(state_)); }
    const std::error_code& Error() const { return std::get<1>(state_); }

private:
    std::variant<T, std::error_code> state_;
};
