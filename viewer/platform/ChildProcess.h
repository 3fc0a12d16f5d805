#pragma once

// A program started by ProcessRunner. Destroying the handle neither waits for nor kills
// the program: a track extraction that finishes after the viewer stopped waiting is left
// to end on its own.
class ChildProcess {
  public:
    virtual ~ChildProcess();

    virtual bool isRunning() = 0;

    // Ends the program at once and reaps it, so no zombie is left behind.
    virtual void kill() = 0;
};
