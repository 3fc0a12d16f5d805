#pragma once

#include <QString>

class Application;

// The start procedure: installer mode when there is a command line, otherwise the settings,
// then splash, docking and the main window.
class Startup {
  public:
    // Fixed English: the string table may be what failed.
    static const QString kFatalTitle;
    static const QString kFatalText;

    explicit Startup(Application& app);

    // Creates the launchers ("<path>*<language number>") or removes them (three or more
    // arguments). Returns the exit status: 0 when the operation succeeded or there was
    // nothing to do, 1 when it did not, or after the fatal message.
    int runInstaller(const QString& commandLine);

    // False when start-up ended with the fatal message, or after a window ended the program
    // with its own message; no window step runs after a failure.
    bool runInteractive();

  private:
    void bindSettings();
    // The setting as a number; an unset or damaged value, or one out of range (a language
    // without texts, a time-zone entry beyond the list), is replaced by the default.
    int numberSetting(const QString& key, const QString& defaultValue);
    void reportFatal(const QString& description);

    Application& m_app;
};
