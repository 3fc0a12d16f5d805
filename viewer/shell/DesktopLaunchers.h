#pragma once

#include <QString>

// The viewer's launchers on the desktop and in the applications menu, and the scratch folder
// that goes with them. Neither operation reports an error: the first step that fails ends
// it, and the result tells how far it got.
class DesktopLaunchers {
  public:
    // The menu launchers live in a folder of this name; removal looks for the desktop
    // launcher under it.
    static const QString kFixedName;
    static const QString kIconFileName;

    // programFileName is the viewer's own file name, used when the target is its folder.
    explicit DesktopLaunchers(QString programFileName);

    // Writes "<caption>.desktop" into the desktop folder, then into
    // "<applications>/Harventis DVR Tools/", and returns true once both are saved; then makes
    // the scratch folder. The target is the viewer program or the folder that holds it. An
    // empty target or caption creates nothing.
    bool create(const QString& caption, const QString& target) const;

    // Deletes the desktop launcher and returns true once it is gone; then deletes the
    // scratch folder with its contents. The menu launcher stays.
    bool remove() const;

  private:
    QString m_programFileName;
};
