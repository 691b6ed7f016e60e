// A value or the reason why there is none, for operations whose failure the user must be told.
#pragma once

#include <optional>
#include <utility>
#include <variant>

template <class E>
struct Unexpected {
    E error;
};

template <class E>
Unexpected<E> unexpected(E error) {
    return {std::move(error)};
}

template <class T, class E>
class Expected {
public:
    Expected(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Expected(Unexpected<E> failure) : state_(std::in_place_index<1>, std::move(failure.error)) {}

    bool has_value() const { return state_.index() == 0; }
    explicit operator bool() const { return has_value(); }
    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }
    T value_or(T fallback) const& { return has_value() ? value() : std::move(fallback); }
    T value_or(T fallback) && {
        return has_value() ? std::move(*this).value() : std::move(fallback);
    }
    const E& error() const { return std::get<1>(state_); }

private:
    std::variant<T, E> state_;
};

template <class E>
class Expected<void, E> {
public:
    Expected() = default;
    Expected(Unexpected<E> failure) : error_(std::move(failure.error)) {}

    bool has_value() const { return !error_.has_value(); }
    explicit operator bool() const { return has_value(); }
    const E& error() const { return *error_; }

private:
    std::optional<E> error_;
};
