#pragma once

#include <QString>
#include <memory>

class Application;

// Writes the program's state (language, unit, frame shown, map ready, list rows) into a file
// named by an environment variable, for checks of a freshly started program such as after a
// language restart. Written once the frame is up and again whenever the map's ready flag
// changes; never when the variable is unset.
class StateProbe {
  public:
    static constexpr const char* kStateFileVariable = "HARVENTIS_STATE_FILE";

    // A probe watching app, or nullptr when the environment asks for no state file.
    static std::unique_ptr<StateProbe> install(Application& app);

    StateProbe(Application& app, QString path);

    void report() const;

  private:
    Application& m_app;
    QString m_path;
};
