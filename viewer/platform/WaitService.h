#pragma once

// Waits keep the order of steps without freezing the window: painting, video decoding and
// the map page go on while a step waits, only user input is held back. Anything that can
// run inside a wait (timer ticks, page callbacks) must therefore be safe to re-enter.
class WaitService {
  public:
    virtual ~WaitService();

    virtual void sleep(int milliseconds) = 0;

    // Lets every pending event run once, user input included.
    virtual void processPendingEvents() = 0;
};
