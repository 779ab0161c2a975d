#pragma once

// What a page build reports while it runs: the number of steps, then one step per seat. The
// progress dialog implements it (and keeps the window responsive in Step); the command line
// prints a line; tests count and cancel.
class TPrintProgress {
public:
    virtual ~TPrintProgress() = default;
    virtual void Start(int maximum) = 0;
    // One seat done; false when the user cancelled the build.
    virtual bool Step() = 0;
};
