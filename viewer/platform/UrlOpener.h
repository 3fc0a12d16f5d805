#pragma once

class QString;

// Hands a web address to the user's browser.
class UrlOpener {
  public:
    virtual ~UrlOpener();

    virtual bool open(const QString& address) = 0;
};
