#pragma once

// Counts wheel turns in whole notches (120 units of angle), so that a fine-grained wheel or a
// touchpad, which report a notch in many small events, make one drill step per notch.
class WheelNotches {
public:
    static constexpr int Notch = 120;
    // Adds one event's angle; returns the notches it completed (negative: towards the user).
    // Turning the other way forgets what was left over.
    int Take(int delta) {
        if ((delta > 0) != (rest_ > 0))
            rest_ = 0;
        rest_ += delta;
        const int notches = rest_ / Notch;
        rest_ -= notches * Notch;
        return notches;
    }

private:
    int rest_ = 0;
};
