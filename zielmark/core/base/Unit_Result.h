// What a Zielmark operation that can fail hands back: whether it succeeded and, when it did not, the message
// for the user, which names the file. An operation that also yields something returns TResultOf<T>, whose
// Value is what was got, also when the operation stopped part-way (the wrecks read before a bad line).
#pragma once

#include <string>
#include <utility>

namespace zm {

// The outcomes callers act on differently. Most operations end Ok or Failed; each one that can end otherwise
// says so where it is declared.
enum class TResultCode {
    Ok,
    Failed,   // it could not be done, or stopped part-way: Message says why
    Missing,  // there was no file to read; nothing changed
    Empty,    // the file was read and holds nothing of what was asked for
    Declined, // the question asked before it was answered No; nothing changed
    Refused,  // the input is not fit for it (Message says why); nothing was attempted
};

struct TResult {
    TResultCode Code = TResultCode::Ok;
    std::string Message; // empty when Ok

    bool Ok() const { return Code == TResultCode::Ok; }

    static TResult Success() { return {}; }
    // An outcome that says all by its code (Missing, Empty, Declined).
    static TResult Outcome(TResultCode code) { return {code, {}}; }
    static TResult Failure(std::string message, TResultCode code = TResultCode::Failed) {
        return {code, std::move(message)};
    }
};

template <class T> struct TResultOf : TResult {
    T Value{};

    TResultOf() = default;
    // A plain result (a failure, mostly) passes on with the value got so far.
    TResultOf(TResult result, T value = T()) : TResult(std::move(result)), Value(std::move(value)) {}
};

} // namespace zm
