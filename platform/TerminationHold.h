// Holds the termination signals (interrupt, terminate, hang-up, quit) for its lifetime:
// what runs inside is never cut short, and a signal that came meanwhile ends the process
// as soon as the hold is released. Used where a step must not be left half done, such as
// granting write permission, deleting and restoring the permission again.
#pragma once

class TerminationHold {
public:
    TerminationHold();
    ~TerminationHold();
    TerminationHold(const TerminationHold&) = delete;
    TerminationHold& operator=(const TerminationHold&) = delete;

private:
    bool m_active = false;
};
