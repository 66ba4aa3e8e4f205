// The shell's exception class and the small conversions and helpers every program may call.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

// The one exception class the toolkit raises; the event loop shows its message.
class Exception : public std::exception {
public:
    explicit Exception(std::string message = {}) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

using Word = std::uint16_t;

// A name or value as messages quote it: «name».
std::string Quoted(const std::string& text);

// Plain signed decimal text of an integer: "0", "3", "-1".
std::string IntToStr(int value);

// An integer in 0..n-1 from one process-wide generator that is never seeded, so every
// run repeats the same sequence; 0 when n is 0 (or negative).
int random(int n);
